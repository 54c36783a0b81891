#pragma once
// Error of the spreadsheet layer: a cell outside the sheet, a workbook that could not be saved, a file
// that is not a readable .xlsx. The text is meant to be shown to the user as it is.

#include <stdexcept>

namespace sheet {

class SheetError : public std::runtime_error {
    using runtime_error::runtime_error;
};

} // namespace sheet
