// SPDX-License-Identifier: MIT
// The store's writing done by a process that the crash test kills at random moments.
//
//   store_crash_writer import <db folder> <first import number>
//       Opens (creating on first use) the database, prints "ready", then saves imports for ever,
//       the way the data import saves them: one transaction per import, and for each of its
//       ImportDays days a delete of that day followed by the insert of the day's measurement. Import
//       k writes user (k % 3) + 1 and marks every value with k. Prints "committed k" after each.
//   store_crash_writer create <db folder>
//       Prints "ready", then creates the database (the first run) and prints "created".
#include "store/Statements.h"
#include "store/TdmMain.h"

#include <QDate>
#include <QString>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int ImportDays = 10;
const QDate FirstDay(2024, 1, 1);

void Say(const char* line) {
    std::fputs(line, stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

int SaveImportsForEver(const QString& folder, long long firstImport) {
    TdmMain store(folder, QString());
    store.DataModuleCreate();
    SetDataModule(&store);
    Say("ready");
    for (long long import = firstImport;; ++import) {
        const int user = static_cast<int>(import % 3) + 1;
        const auto mark = static_cast<double>(import);
        dmMain().StartTransaction();
        for (int day = 0; day < ImportDays; ++day) {
            const QDate date = FirstDay.addDays(day);
            dmMain().ExecuteSql(SqlDeleteDay(user, date));
            dmMain().ExecuteSql(SqlInsertMeasurement(user, date, mark, mark, mark, mark, mark));
        }
        dmMain().Commit();
        std::printf("committed %lld\n", import);
        std::fflush(stdout);
    }
}

int CreateOnce(const QString& folder) {
    TdmMain store(folder, QString());
    Say("ready");
    store.DataModuleCreate();
    Say("created");
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], "import") == 0)
        return SaveImportsForEver(QString::fromLocal8Bit(argv[2]), std::atoll(argv[3]));
    if (argc == 3 && std::strcmp(argv[1], "create") == 0)
        return CreateOnce(QString::fromLocal8Bit(argv[2]));
    std::fprintf(stderr, "usage: %s import <folder> <first import> | create <folder>\n", argv[0]);
    return 2;
}
