// SPDX-License-Identifier: GPL-3.0-or-later
#include "resources/title_page.h"

namespace lumetra::resources {

const TitlePage& titlePage() {
    static const TitlePage page{10208.0,
                                4258.0,
                                86.0,
                                113.4,
                                "Courier New",
                                12.0,
                                {
                                    {1, "PROGRAMMA: ", 251.0},
                                    {4, "  DALLA PAGINA  \u201CLUMETRA\u201D", 1.0},
                                }};
    return page;
}

} // namespace lumetra::resources
