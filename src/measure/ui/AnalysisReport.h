#pragma once
// "列  印" of the analysis window: the report's snapshot taken from the window, and the job on
// the program's printer with the abort box beside it.

namespace ruto {

class AnalysisWindow;
struct TReportInput;

// What the report prints: the window's print choices, lists, note and matched programs, the
// shared test, client, analysis and user data, and the reference rows.
TReportInput ReportInputFromWindow(AnalysisWindow& window);

// Starts the report on the shared printer (a PDF file when "列印設定" chose one). A job that
// cannot start is reported; while one runs the print button is disabled, and closing the
// window aborts it.
void PrintAnalysisReport(AnalysisWindow& window);

}  // namespace ruto
