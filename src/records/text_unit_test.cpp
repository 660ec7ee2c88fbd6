#include "records/text_unit.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <string>

#include "records/platform.h"
#include "testing/scratch_directory.h"

namespace velkoran {
namespace {

using ::testing::ExitedWithCode;

class TextUnitTest : public testing::ScratchDirectory {
protected:
    // The report line for a failure on a file of the scratch directory, as
    // an anchored pattern.
    [[nodiscard]] std::string report(int number, const std::string& message, int unit,
                                     const std::string& name) const {
        return "velkoran: severe \\(" + std::to_string(number) + "\\): " + message + ", unit " +
               std::to_string(unit) + ", file " + absolute(name) + "\n$";
    }

    // Lets user nobody into the scratch directory; the caller then becomes
    // nobody, for whom file permissions hold.
    void open_to_nobody() const { std::filesystem::permissions(path_, std::filesystem::perms::all); }
    static void become_nobody() {
        constexpr uid_t NOBODY = 65534;
        if (::getuid() == 0 && (::setgid(NOBODY) != 0 || ::setuid(NOBODY) != 0)) {
            ::_exit(99);
        }
    }
};

Text<80> line_of(const std::string& text) {
    Text<80> line{};
    line.fill(' ');
    std::copy(text.begin(), text.end(), line.begin());
    return line;
}

// ---- writing

TEST_F(TextUnitTest, EachRecordReachesTheFileWhenItsWriteEnds) {
    open_unit(3, "table.csv");
    write_formatted(3, R"(("number , wavelength", $))");
    EXPECT_EQ(read_file("table.csv"), "number , wavelength");
    write_formatted(3, R"((" , m", I1, " , e", I1, $))", 1, 1);
    write_formatted(3, R"((""))");
    EXPECT_EQ(read_file("table.csv"), "number , wavelength , m1 , e1\r\n");

    const Text<80> header = line_of(std::string(70, 'h') + "0123456789");
    write_formatted(3, "(A70, /)", header);
    EXPECT_EQ(read_file("table.csv"),
              "number , wavelength , m1 , e1\r\n" + std::string(70, 'h') + "\r\n\r\n");
}

TEST_F(TextUnitTest, ExistingFileKeepsItsContentsUntilItsFirstRecordAndEndsWithTheLast) {
    const std::string old = "an old table that is longer than the new one\r\n2\r\n3\r\n";
    write_file("table.csv", old);
    open_unit(2, "table.csv");
    EXPECT_EQ(read_file("table.csv"), old);
    write_formatted(2, R"(("new", $))");
    EXPECT_EQ(read_file("table.csv"), "new");
    write_formatted(2, R"((" row"))");
    EXPECT_EQ(read_file("table.csv"), "new row\r\n");
}

TEST_F(TextUnitTest, MissingFileIsCreatedEmptyByTheOpen) {
    open_unit(1, "  measurements.txt  ");
    EXPECT_TRUE(std::filesystem::exists("measurements.txt"));
    EXPECT_EQ(std::filesystem::file_size("measurements.txt"), 0U);
}

TEST_F(TextUnitTest, DevicesMayBeSharedByUnits) {
    open_unit(2, "/dev/null");
    open_unit(3, "/dev/null");
    write_formatted(2, R"(("a"))");
    write_formatted(3, R"(("b"))");
}

TEST_F(TextUnitTest, ListDirectedRecordIsABlankAndTheText) {
    EXPECT_EXIT(
        {
            ::dup2(::open("console.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644), STDOUT_FILENO);
            write_list_directed("");
            write_list_directed("Wrong title index !");
            ::_exit(0);
        },
        ExitedWithCode(0), "");
    EXPECT_EQ(read_file("console.txt"), " \r\n Wrong title index !\r\n");
}

// ---- reading

TEST_F(TextUnitTest, RecordsEndAtLfWithOneCrBeforeItDropped) {
    write_file("lines.txt", "crlf\r\nlf\nin\rner\r\n\r\r\nlast");
    open_unit(1, "lines.txt");
    for (const std::string expected : {"crlf", "lf", "in\rner", "\r", "last"}) {
        Text<80> line{};
        read_formatted(1, "(A80)", line);
        EXPECT_EQ(line, line_of(expected));
    }
}

TEST_F(TextUnitTest, ColumnsPastTheLayoutAreNeverKept) {
    const std::string long_line = std::string(80, 'a') + std::string(1 << 20, 'b');
    write_file("lines.txt", long_line + "\nnext\n");
    open_unit(1, "lines.txt");
    Text<80> line{};
    read_formatted(1, "(A80)", line);
    EXPECT_EQ(line, line_of(std::string(80, 'a')));
    read_formatted(1, "(A80)", line);
    EXPECT_EQ(line, line_of("next"));
}

TEST_F(TextUnitTest, RecordBreaksReadWholeLines) {
    write_file("block.txt", "skip\nskip\nskip\nskip\n  42\nskip\nskip\nheader\nskip\nafter\n");
    open_unit(1, "block.txt");
    std::int32_t number = 0;
    read_formatted(1, "(////, I4)", number);
    EXPECT_EQ(number, 42);
    Text<80> header{};
    read_formatted(1, "(//, A80, /)", header);
    EXPECT_EQ(header, line_of("header"));
    read_formatted(1, "(A80)", header);
    EXPECT_EQ(header, line_of("after"));
}

TEST_F(TextUnitTest, CommaEndsANumericFieldEarly) {
    struct Case {
        const char* line;
        std::int32_t a, b, c;
    };
    const Case cases[] = {
        {" 1 , 2", 1, 0, 2},      {"8,20,1", 8, 20, 1}, {"1,2,3", 1, 2, 3},
        {"16500  1", 16, 500, 0}, {"16", 16, 0, 0},
    };
    for (const Case& c : cases) {
        write_file("line.txt", c.line);
        open_unit(1, "line.txt");
        std::int32_t a = -1, b = -1, d = -1;
        read_formatted(1, "(I2, I3, I2)", a, b, d);
        EXPECT_EQ(std::tuple(a, b, d), std::tuple(c.a, c.b, c.c)) << '|' << c.line << '|';
        close_all_units();
    }
}

TEST_F(TextUnitTest, ReopeningTheSameFileOnItsUnitChangesNothing) {
    write_file("config.txt", "first\nsecond\n");
    open_unit(2, "config.txt");
    Text<80> line{};
    read_formatted(2, "(A80)", line);
    open_unit(2, "./config.txt");
    read_formatted(2, "(A80)", line);
    EXPECT_EQ(line, line_of("second"));
}

TEST_F(TextUnitTest, WritingAfterReadingContinuesWhereReadingStopped) {
    write_file("config.txt", "first\nsecond\nthird\n");
    open_unit(2, "config.txt");
    Text<80> line{};
    read_formatted(2, "(A80)", line);
    write_formatted(2, R"(("written"))");
    EXPECT_EQ(read_file("config.txt"), "first\nwritten\r\n");
}

// ---- failures

TEST_F(TextUnitTest, EndOfFile) {
    write_file("short.txt", "one\n\x1a\nafter the end\n");
    open_unit(1, "short.txt");
    Text<80> line{};
    read_formatted(1, "(A80)", line);
    EXPECT_EXIT(read_formatted(1, "(A80)", line), ExitedWithCode(24),
                "^" + report(24, "end-of-file during read", 1, "short.txt"));
    EXPECT_EXIT(read_formatted(1, "(/, A80)", line), ExitedWithCode(24), "end-of-file during read");
}

TEST_F(TextUnitTest, BadNumberIsAConversionError) {
    write_file("bad.txt", "  0.34x\n");
    open_unit(1, "bad.txt");
    double value = 0;
    EXPECT_EXIT(read_formatted(1, "(F8.4)", value), ExitedWithCode(64),
                "^" + report(64, "input conversion error", 1, "bad.txt"));
}

TEST_F(TextUnitTest, OpenFailures) {
    std::filesystem::create_directory("folder");
    write_file("taken.txt", "");
    open_unit(1, "taken.txt");
    struct Case {
        std::string name;
        int number;
        std::string pattern;
    };
    const Case cases[] = {
        {"missing/table.csv", 29, "^" + report(29, "file not found", 3, "missing/table.csv")},
        {"taken.txt/table.csv", 29, "file not found"},
        {"folder", 30, "^velkoran: Is a directory\n" + report(30, "open failure", 3, "folder")},
        {"   ", 43, "^" + report(43, "file name specification error", 3, "")},
        {std::string("a\0b", 3), 43, "file name specification error"},
        {std::string(256, 'x'), 43, "file name specification error"},
        {"./taken.txt", 30,
         "^velkoran: the file is already connected to unit 1\n" +
             report(30, "open failure", 3, "./taken.txt")},
    };
    for (const Case& c : cases) {
        EXPECT_EXIT(open_unit(3, c.name), ExitedWithCode(c.number), c.pattern) << c.name;
    }
}

TEST_F(TextUnitTest, RefusedWriteIsReportedWithTheSystemsWord) {
    open_unit(3, "/dev/full");
    EXPECT_EXIT(write_formatted(3, R"(("row"))"), ExitedWithCode(38),
                "^velkoran: No space left on device\nvelkoran: severe \\(38\\): error during write, unit 3, "
                "file /dev/full\n$");
}

TEST_F(TextUnitTest, PermissionsAsAnOrdinaryUser) {
    open_to_nobody();
    write_file("read-only.csv", "old\n");
    std::filesystem::permissions("read-only.csv", std::filesystem::perms::owner_read |
                                                      std::filesystem::perms::group_read |
                                                      std::filesystem::perms::others_read);
    write_file("secret.txt", "");
    std::filesystem::permissions("secret.txt", std::filesystem::perms::none);
    std::filesystem::create_directory("locked");
    std::filesystem::permissions("locked", std::filesystem::perms::owner_all |
                                               std::filesystem::perms::others_read |
                                               std::filesystem::perms::others_exec);

    EXPECT_EXIT(
        {
            become_nobody();
            open_unit(3, "read-only.csv");
            write_formatted(3, R"(("row"))");
        },
        ExitedWithCode(47), "^" + report(47, "write to READONLY file", 3, "read-only.csv"));
    EXPECT_EQ(read_file("read-only.csv"), "old\n");
    EXPECT_EXIT(
        {
            become_nobody();
            open_unit(1, "secret.txt");
        },
        ExitedWithCode(9), "^" + report(9, "permission to access file denied", 1, "secret.txt"));
    EXPECT_EXIT(
        {
            become_nobody();
            open_unit(2, "locked/new.csv");
        },
        ExitedWithCode(29), "^" + report(29, "file not found", 2, "locked/new.csv"));
}

TEST_F(TextUnitTest, ConsoleFailures) {
    EXPECT_EXIT(
        {
            platform::prepare_process();
            int ends[2];
            ::pipe(ends);
            ::close(ends[0]);
            ::dup2(ends[1], STDOUT_FILENO);
            write_list_directed("nobody reads this");
        },
        ExitedWithCode(38),
        "^velkoran: Broken pipe\nvelkoran: severe \\(38\\): error during write, unit -1, file CONOUT\\$\n$");
    Text<1> answer{};
    EXPECT_EXIT(
        {
            ::close(STDIN_FILENO);
            read_formatted(CONSOLE_INPUT_UNIT, "(A1)", answer);
        },
        ExitedWithCode(39),
        "^velkoran: Bad file descriptor\nvelkoran: severe \\(39\\): error during read, unit -4, file "
        "CONIN\\$\n$");
    EXPECT_EXIT(
        {
            ::dup2(::open("/dev/null", O_RDONLY), STDIN_FILENO);
            read_formatted(CONSOLE_INPUT_UNIT, "(A1)", answer);
        },
        ExitedWithCode(24), "^velkoran: severe \\(24\\): end-of-file during read, unit -4, file CONIN\\$\n$");
}

TEST_F(TextUnitTest, ConsoleLineIsReadWithoutTakingAByteMore) {
    write_file("typed.txt", "yes, done\nfor whoever reads next\n");
    Text<1> answer{};
    EXPECT_EXIT(
        {
            ::dup2(::open("typed.txt", O_RDONLY), STDIN_FILENO);
            read_formatted(CONSOLE_INPUT_UNIT, "(A1)", answer);
            ::_exit(static_cast<int>(::lseek(STDIN_FILENO, 0, SEEK_CUR)));
        },
        ExitedWithCode(10), "");
}

TEST(FailureReport, EveryNumberWithItsTextAndStatus) {
    struct Case {
        FailureNumber number;
        const char* text;
    };
    const Case cases[] = {
        {FailureNumber::PermissionDenied, "permission to access file denied"},
        {FailureNumber::InputRecordTooLong, "input record too long"},
        {FailureNumber::EndOfFileDuringRead, "end-of-file during read"},
        {FailureNumber::FileNotFound, "file not found"},
        {FailureNumber::OpenFailure, "open failure"},
        {FailureNumber::ErrorDuringWrite, "error during write"},
        {FailureNumber::ErrorDuringRead, "error during read"},
        {FailureNumber::FileNameSpecificationError, "file name specification error"},
        {FailureNumber::WriteToReadonlyFile, "write to READONLY file"},
        {FailureNumber::InputConversionError, "input conversion error"},
    };
    for (const Case& c : cases) {
        const int number = static_cast<int>(c.number);
        EXPECT_EXIT(report_failure(c.number, {.number = 1, .name = "/data/run7/meas.txt", .detail = {}}),
                    ExitedWithCode(number),
                    "^velkoran: severe \\(" + std::to_string(number) + "\\): " + c.text +
                        ", unit 1, file /data/run7/meas.txt\n$");
    }
    EXPECT_EXIT(report_failure(FailureNumber::InsufficientVirtualMemory), ExitedWithCode(41),
                "^velkoran: severe \\(41\\): insufficient virtual memory\n$");
}

}  // namespace
}  // namespace velkoran
