// SPDX-License-Identifier: MIT
#pragma once

#include <QDate>

class QWidget;

// Data > Report: asks for the range (proposing DefaultReportRange), then makes the report.
void RunReport(QWidget* owner);

// The report of the logged-in user over from..to: says so when the range holds no measurement;
// otherwise asks for the PDF file's name, asks before replacing a file, writes it and says where,
// or that it could not be written. Reads the database only.
void MakeReport(QWidget* owner, const QDate& from, const QDate& to);
