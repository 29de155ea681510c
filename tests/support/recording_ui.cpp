#include "support/recording_ui.h"

namespace lumetra::testing {

void RecordingUi::message(QWidget* window, const QString& text) {
    messages << text;
    messageWindows << window;
    if (onMessage) {
        onMessage(text);
    }
}

} // namespace lumetra::testing
