// A line-by-line record of a test program's cases for the test runner, which
// runs all cases of a program in one process: which cases the program is
// about to run, and how each ended, flushed as it happens. A case that a
// dying process leaves without an outcome line is one that did not pass.
#pragma once

// Takes "--case_report=PATH" out of the arguments and has the record of the
// run written to PATH. Without the option, nothing is written.
void ReportCasesIfAsked(int& argc, char** argv);
