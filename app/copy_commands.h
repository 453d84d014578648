#pragma once

namespace plotvik {

class TForm1;

// Ctrl+C: the current page's chart, as the window shows it, onto the clipboard as a picture.
void CopyCurrentChart(TForm1& form);

// Ctrl+Shift+C: the loaded records onto the clipboard as tab-separated text, with the locale's
// decimal separator so that a spreadsheet in that locale reads the numbers.
void CopyRecords(TForm1& form);

}  // namespace plotvik
