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
// page. Each printer keeps the orientation it was last given while the program runs.
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
    // The current printer's position in Printers(); -1 when no printer is installed.
    int PrinterIndex() const;
    void SetPrinterIndex(int index);
    QString PrinterName() const { return current_; }

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
    void SelectPrinter(const QString& name);

    std::unique_ptr<TPrinterBackend> backend_;
    std::unique_ptr<QPrinter> printer_;
    QStringList names_;
    QString current_;
    QHash<QString, QPageLayout::Orientation> orientations_;
};

// The program's one printer, created on first use on the system's print service.
TPrinter& Printer();
