// SPDX-License-Identifier: MIT
#include "about/AboutResources.h"

#include <QtGlobal>

void InitAboutResources() {
    static const bool registered = [] {
        Q_INIT_RESOURCE(about);
        return true;
    }();
    (void)registered;
}
