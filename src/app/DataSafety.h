// SPDX-License-Identifier: MIT
#pragma once

class QWidget;
class TdmMain;

// File > Back Up…: a copy of the database, taken while the program runs, to a file of the
// person's choice.
void RunBackupCommand(QWidget* owner);

// File > Restore…: puts a chosen backup in place of the database after checking it and asking;
// true when the database was replaced, so that the open windows read it again.
bool RunRestoreCommand(QWidget* owner);

// After the main window has closed: the automatic backup, when the database changed in this run.
// A failure is reported and never keeps the program from ending.
void RunAutomaticBackupAtExit(TdmMain& store);
