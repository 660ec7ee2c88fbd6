#include "run/run_program.h"

// The command line is not consulted: the configuration file says everything.
int main() { velkoran::run_program(); }
