// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>
#include <vector>

class QWidget;

// Before a sheet replaces fileName: when such a file exists, asks the person (FileExistsSureOverwrite)
// and removes it, a read-only one too, once they agreed. False when they declined or the file could
// not be removed (FileOpenFailure is shown); true when the name is free.
bool ConfirmReplaceFile(QWidget* owner, const QString& fileName);

// Writes rows of text cells (row 0 first) to fileName as a worksheet in the current language's code
// page, the way the measurement list exports: an existing file is replaced only after the person
// agreed (a read-only one too), and the sheet is written under a temporary name and renamed into
// place, so a failed write never leaves part of a file. Returns false when nothing was written
// because the person declined or the old file could not be removed (a message says so); a file
// that cannot be written raises AppError. Rows and cells must fit a sheet (TExcelExport's limits).
bool WriteSheetFile(QWidget* owner, const QString& fileName, const std::vector<QStringList>& rows);
