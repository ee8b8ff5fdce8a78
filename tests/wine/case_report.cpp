#include "tests/wine/case_report.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// Lines: "plan NAME" for every case about to run, then per case
// "passed|failed|skipped NAME MILLISECONDS", and "end passed|failed" when the
// program got to its end.
class CaseReport : public ::testing::EmptyTestEventListener {
public:
    explicit CaseReport(std::FILE* file) : file_(file) {}

    void OnTestIterationStart(const ::testing::UnitTest& unit, int) override {
        for (int s = 0; s < unit.total_test_suite_count(); ++s) {
            const ::testing::TestSuite* suite = unit.GetTestSuite(s);
            for (int t = 0; t < suite->total_test_count(); ++t) {
                const ::testing::TestInfo* info = suite->GetTestInfo(t);
                if (info->should_run()) Write("plan", Name(*info));
            }
        }
    }
    void OnTestEnd(const ::testing::TestInfo& info) override {
        const ::testing::TestResult& result = *info.result();
        const char* outcome = result.Skipped() ? "skipped" : result.Failed() ? "failed" : "passed";
        Write(outcome, Name(info) + " " + std::to_string(result.elapsed_time()));
    }
    void OnTestProgramEnd(const ::testing::UnitTest& unit) override {
        Write("end", unit.Passed() ? "passed" : "failed");
    }

private:
    static std::string Name(const ::testing::TestInfo& info) {
        return std::string(info.test_suite_name()) + "." + info.name();
    }
    void Write(const char* what, const std::string& text) {
        std::fprintf(file_, "%s %s\n", what, text.c_str());
        std::fflush(file_);
    }

    std::FILE* file_;
};

}  // namespace

void ReportCasesIfAsked(int& argc, char** argv) {
    static const char option[] = "--case_report=";
    const char* path = nullptr;
    int kept = 0;
    for (int i = 0; i < argc; ++i) {
        if (std::strncmp(argv[i], option, sizeof option - 1) == 0) path = argv[i] + sizeof option - 1;
        else argv[kept++] = argv[i];
    }
    argc = kept;
    argv[argc] = nullptr;
    if (!path) return;
    std::FILE* file = std::fopen(path, "wb");  // plain newlines for the runner
    if (!file) {
        std::fprintf(stderr, "cannot write the case report %s\n", path);
        std::exit(2);
    }
    ::testing::UnitTest::GetInstance()->listeners().Append(new CaseReport(file));
}
