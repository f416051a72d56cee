#pragma once

#include "SystemTime.h"

class QPrintPreviewDialog;

namespace tripvane {

class ObjectStore;
class Shell;

// "Print Mileage Log...": the log over the report's range in a print preview, a desktop window
// of its own, from which the user prints or saves a PDF.
void printMileageLog(Shell &shell, ObjectStore &store, const DateRange &range);

} // namespace tripvane
