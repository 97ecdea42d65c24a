// SPDX-License-Identifier: MIT
#pragma once

#include "charts/TPrinterBackend.h"

#include <QPageLayout>
#include <QString>
#include <QVector>

// Printers that write PDF files: each named printer prints into <folder>/<name>.pdf on A4 paper,
// with its own initial orientation. Setup asks nothing and counts how often it was run.
class TPdfPrinters : public TPrinterBackend {
public:
    struct Entry {
        QString Name;
        QPageLayout::Orientation Orientation = QPageLayout::Portrait;
    };

    TPdfPrinters(QVector<Entry> printers, QString folder, int dpi = 300);

    QStringList PrinterNames() const override;
    QString DefaultPrinterName() const override;
    void Select(QPrinter& printer, const QString& name) const override;
    bool Setup(QWidget* owner, QPrinter& printer) const override;

    // The file the named printer writes.
    QString OutputFile(const QString& name) const;
    int SetupCount() const { return setupCount_; }

private:
    QVector<Entry> printers_;
    QString folder_;
    int dpi_;
    mutable int setupCount_ = 0;
};
