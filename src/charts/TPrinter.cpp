// SPDX-License-Identifier: MIT
#include "charts/TPrinter.h"

#include "charts/TSystemPrinters.h"

#include <QPrinter>

TPrinter::TPrinter(std::unique_ptr<TPrinterBackend> backend)
    : backend_(std::move(backend)), printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)) {}

TPrinter::~TPrinter() = default;

std::unique_ptr<TPrinterBackend> TPrinter::SetBackend(std::unique_ptr<TPrinterBackend> backend) {
    std::unique_ptr<TPrinterBackend> previous = std::move(backend_);
    backend_ = std::move(backend);
    printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    names_.clear();
    current_.clear();
    orientations_.clear();
    Printers();
    return previous;
}

const QStringList& TPrinter::Printers() {
    names_ = backend_->PrinterNames();
    if (names_.isEmpty()) {
        current_.clear();
    } else if (!names_.contains(current_)) {
        const QString preferred = backend_->DefaultPrinterName();
        SelectPrinter(names_.contains(preferred) ? preferred : names_.front());
    }
    return names_;
}

int TPrinter::PrinterIndex() const {
    return current_.isEmpty() ? -1 : static_cast<int>(names_.indexOf(current_));
}

void TPrinter::SetPrinterIndex(int index) {
    if (index < 0 || index >= names_.size() || names_[index] == current_)
        return;
    SelectPrinter(names_[index]);
}

void TPrinter::SelectPrinter(const QString& name) {
    if (!current_.isEmpty())
        orientations_.insert(current_, Orientation());
    backend_->Select(*printer_, name);
    current_ = name;
    if (orientations_.contains(name))
        printer_->setPageOrientation(orientations_.value(name));
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
    if (current_.isEmpty())
        return false;
    return backend_->Setup(owner, *printer_);
}

TPrinter& Printer() {
    // Deliberately never destroyed: static destruction runs after the application object is gone,
    // when a printer can no longer be torn down safely.
    static TPrinter* printer = new TPrinter(std::make_unique<TSystemPrinters>());
    return *printer;
}
