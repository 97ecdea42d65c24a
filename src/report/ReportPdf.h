// SPDX-License-Identifier: MIT
#pragma once

#include "report/ReportContent.h"

#include <QString>

class QIODevice;

// Lays content out on two A4 pages (the person, the latest values with BMI, the change over the
// range and the period means; then both charts) in the current language and writes them to
// device as PDF, with text and lines as vectors.
void WriteReportPdf(const TReportContent& content, QIODevice& device);

// Writes the report to path through a temporary file beside it that replaces path only once it
// is complete; false when it could not be written (no room, no such folder, the PDF writer
// could not start), and then nothing new is left at path.
bool SaveReportPdf(const TReportContent& content, const QString& path);
