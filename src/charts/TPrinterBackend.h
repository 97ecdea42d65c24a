// SPDX-License-Identifier: MIT
#pragma once

#include <QStringList>

class QPrinter;
class QWidget;

// Where the program's printers come from: the system's print service, or files (tests, and
// machines without a printer that still want a page).
class TPrinterBackend {
public:
    virtual ~TPrinterBackend() = default;

    // The installed printers, by name.
    virtual QStringList PrinterNames() const = 0;
    // The printer the system prints on by default; empty when there is none.
    virtual QString DefaultPrinterName() const = 0;
    // Makes printer print on the named printer, with that printer's paper.
    virtual void Select(QPrinter& printer, const QString& name) const = 0;
    // The printer setup question for printer; true when the person confirmed it.
    virtual bool Setup(QWidget* owner, QPrinter& printer) const = 0;
};
