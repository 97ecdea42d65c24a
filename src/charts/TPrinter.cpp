// SPDX-License-Identifier: MIT
#include "charts/TPrinter.h"

#include "charts/TSystemPrinters.h"

#include <QLocale>
#include <QPageSize>
#include <QPrinter>

namespace {

// The PDF file entry prints on the paper usual where the program runs, with no unprintable border.
void SelectPdfFile(QPrinter& printer) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString());
    const bool letter = QLocale::system().measurementSystem() == QLocale::ImperialUSSystem;
    printer.setPageSize(QPageSize(letter ? QPageSize::Letter : QPageSize::A4));
    printer.setPageMargins(QMarginsF(0, 0, 0, 0));
}

} // namespace

TPrinter::TPrinter(std::unique_ptr<TPrinterBackend> backend)
    : backend_(std::move(backend)), printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)) {}

TPrinter::~TPrinter() = default;

std::unique_ptr<TPrinterBackend> TPrinter::SetBackend(std::unique_ptr<TPrinterBackend> backend) {
    std::unique_ptr<TPrinterBackend> previous = std::move(backend_);
    backend_ = std::move(backend);
    printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    names_.clear();
    current_.clear();
    selected_ = false;
    orientations_.clear();
    Printers();
    return previous;
}

const QStringList& TPrinter::Printers() {
    names_ = backend_->PrinterNames();
    names_.removeAll(QString()); // the empty name stands for the PDF file
    if (selected_ && (PrintsToPdfFile() || names_.contains(current_)))
        return names_;
    if (names_.isEmpty()) {
        SelectPrinter(QString());
    } else {
        const QString preferred = backend_->DefaultPrinterName();
        SelectPrinter(names_.contains(preferred) ? preferred : names_.front());
    }
    return names_;
}

int TPrinter::PrinterIndex() const {
    return PrintsToPdfFile() ? PdfFileIndex() : static_cast<int>(names_.indexOf(current_));
}

void TPrinter::SetPrinterIndex(int index) {
    if (index < 0 || index > PdfFileIndex())
        return;
    const QString name = index == PdfFileIndex() ? QString() : names_[index];
    if (selected_ && name == current_)
        return;
    SelectPrinter(name);
}

void TPrinter::SelectPrinter(const QString& name) {
    if (selected_)
        orientations_.insert(current_, Orientation());
    if (name.isEmpty())
        SelectPdfFile(*printer_);
    else
        backend_->Select(*printer_, name);
    current_ = name;
    selected_ = true;
    if (orientations_.contains(name))
        printer_->setPageOrientation(orientations_.value(name));
}

void TPrinter::SetPdfFileName(const QString& fileName) {
    if (PrintsToPdfFile())
        printer_->setOutputFileName(fileName);
}

QPageLayout::Orientation TPrinter::Orientation() const {
    return printer_->pageLayout().orientation();
}

void TPrinter::SetOrientation(QPageLayout::Orientation orientation) {
    printer_->setPageOrientation(orientation);
}

QSize TPrinter::PageSize() const {
    return printer_->pageLayout().paintRectPixels(printer_->resolution()).size();
}

int TPrinter::DpiX() const {
    return printer_->logicalDpiX();
}
int TPrinter::DpiY() const {
    return printer_->logicalDpiY();
}

bool TPrinter::Setup(QWidget* owner) {
    return backend_->Setup(owner, *printer_);
}

TPrinter& Printer() {
    // Deliberately never destroyed: static destruction runs after the application object is gone,
    // when a printer can no longer be torn down safely.
    static TPrinter* printer = new TPrinter(std::make_unique<TSystemPrinters>());
    return *printer;
}
