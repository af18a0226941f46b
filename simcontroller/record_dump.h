// One-line descriptions of the records lent to the driver, field by field, for the call log.
#pragma once

#include <string>

#include "driver/quva_records.h"

std::string DescribeVirtualScreen(const VirtualScreenRecord& record);
std::string DescribeCalibrationRecord(const CalibrationDataRecord& record);
