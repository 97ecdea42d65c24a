// SPDX-License-Identifier: MIT
#pragma once

#include "charts/TPrinterBackend.h"

// The printers of the system's print service; set up with the page setup dialog.
class TSystemPrinters : public TPrinterBackend {
public:
    QStringList PrinterNames() const override;
    QString DefaultPrinterName() const override;
    void Select(QPrinter& printer, const QString& name) const override;
    bool Setup(QWidget* owner, QPrinter& printer) const override;
};
