// SPDX-License-Identifier: MIT
#include "charts/TPdfPrinters.h"

#include <QDir>
#include <QPageSize>
#include <QPrinter>

TPdfPrinters::TPdfPrinters(QVector<Entry> printers, QString folder, int dpi)
    : printers_(std::move(printers)), folder_(std::move(folder)), dpi_(dpi) {}

QStringList TPdfPrinters::PrinterNames() const {
    QStringList names;
    for (const Entry& entry : printers_)
        names.append(entry.Name);
    return names;
}

QString TPdfPrinters::DefaultPrinterName() const {
    return printers_.isEmpty() ? QString() : printers_.front().Name;
}

QString TPdfPrinters::OutputFile(const QString& name) const {
    return QDir(folder_).filePath(name + QStringLiteral(".pdf"));
}

void TPdfPrinters::Select(QPrinter& printer, const QString& name) const {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(OutputFile(name));
    printer.setResolution(dpi_);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageMargins(QMarginsF(0, 0, 0, 0)); // the sheet is the whole page
    for (const Entry& entry : printers_)
        if (entry.Name == name)
            printer.setPageOrientation(entry.Orientation);
}

bool TPdfPrinters::Setup(QWidget*, QPrinter&) const {
    ++setupCount_;
    return true;
}
