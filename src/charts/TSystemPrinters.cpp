// SPDX-License-Identifier: MIT
#include "charts/TSystemPrinters.h"

#include <QPageSetupDialog>
#include <QPrinter>
#include <QPrinterInfo>

QStringList TSystemPrinters::PrinterNames() const {
    return QPrinterInfo::availablePrinterNames();
}

QString TSystemPrinters::DefaultPrinterName() const {
    return QPrinterInfo::defaultPrinterName();
}

void TSystemPrinters::Select(QPrinter& printer, const QString& name) const {
    printer.setOutputFormat(QPrinter::NativeFormat);
    printer.setPrinterName(name);
}

bool TSystemPrinters::Setup(QWidget* owner, QPrinter& printer) const {
    QPageSetupDialog dialog(&printer, owner);
    return dialog.exec() == QDialog::Accepted;
}
