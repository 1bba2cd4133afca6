#include "pages/tab_button.h"

#include <QPushButton>

tab_images text_tab_images() {
    return {QStringLiteral("tab_normal"), QStringLiteral("tab_hover"), QStringLiteral("tab_down")};
}

QString tab_button_style(const tab_images& images) {
    const QString image = QStringLiteral("border-image: url(://graphics/page_tab/%1.png);");
    // Equal specificity: the later rule wins, so a checked tab keeps its look under the mouse.
    return QStringLiteral("QPushButton { %1 color: #505050; }\n"
                          "QPushButton:!checked { %1 color: #505050; }\n"
                          "QPushButton:hover { %2 color: #8a8a8a; }\n"
                          "QPushButton:checked { %3 color: #bcbcbc; }\n")
        .arg(image.arg(images.normal), image.arg(images.hover), image.arg(images.checked));
}

QPushButton* new_tab_button(const QString& title, const tab_images& images) {
    auto* button = new QPushButton(title);
    button->setCheckable(true);
    button->setFixedHeight(tab_button_height);
    button->setStyleSheet(tab_button_style(images));
    return button;
}
