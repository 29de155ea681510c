// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/face.h"

#include "resources/text.h"

#include <QFont>
#include <QFontDatabase>

namespace lumetra::controls {

QString installedFace(std::string_view family) {
    const QString wanted = resources::text(family);
    return QFontDatabase::hasFamily(wanted) ? wanted : QFont::substitute(wanted);
}

} // namespace lumetra::controls
