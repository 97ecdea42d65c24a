// SPDX-License-Identifier: MIT
#pragma once

#include "charts/TPrinterBackend.h"

#include <QHash>
#include <QPageLayout>
#include <QSize>
#include <QStringList>
#include <memory>

class QPrinter;
class QWidget;

// The program's printer: the installed printers, the one currently chosen, its orientation and
// page. After the installed printers comes one more entry, the PDF file, which is there on every
// machine and current when no printer is installed; printing on it writes the page into a PDF file
// named just before. Each entry keeps the orientation it was last given while the program runs.
class TPrinter {
public:
    explicit TPrinter(std::unique_ptr<TPrinterBackend> backend);
    ~TPrinter();
    TPrinter(const TPrinter&) = delete;
    TPrinter& operator=(const TPrinter&) = delete;

    // Replaces where the printers come from (tests) and returns the previous source.
    std::unique_ptr<TPrinterBackend> SetBackend(std::unique_ptr<TPrinterBackend> backend);

    // Reads the installed printers anew; the current printer stays chosen while it is installed,
    // otherwise the default printer becomes current.
    const QStringList& Printers();
    // The current entry: a position in Printers(), or PdfFileIndex() for the PDF file.
    int PrinterIndex() const;
    void SetPrinterIndex(int index);
    // The current printer's name; empty for the PDF file.
    QString PrinterName() const { return current_; }
    int PdfFileIndex() const { return static_cast<int>(names_.size()); }
    bool PrintsToPdfFile() const { return current_.isEmpty(); }
    // Where the PDF file entry writes its next page.
    void SetPdfFileName(const QString& fileName);

    QPageLayout::Orientation Orientation() const;
    void SetOrientation(QPageLayout::Orientation orientation);

    // The printable area in printer pixels, and the printer's pixel densities.
    QSize PageSize() const;
    int DpiX() const;
    int DpiY() const;

    // The printer setup question; true when confirmed.
    bool Setup(QWidget* owner);
    QPrinter& Device() { return *printer_; }

private:
    // name empty: the PDF file.
    void SelectPrinter(const QString& name);

    std::unique_ptr<TPrinterBackend> backend_;
    std::unique_ptr<QPrinter> printer_;
    QStringList names_;
    QString current_;       // empty: the PDF file
    bool selected_ = false; // whether current_ has been selected on printer_ yet
    QHash<QString, QPageLayout::Orientation> orientations_;
};

// The program's one printer, created on first use on the system's print service.
TPrinter& Printer();
