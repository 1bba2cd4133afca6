// The deactivation overlay: while it is up the mouse's buttons do nothing, so the side
// panel's caps can be changed; Enter puts it away.
#pragma once

#include "pages/form_base.h"
#include "ui_btn_deactivate_fm.h"

#include <QDialog>

class btn_deactivate_fm_c : public QDialog, public form_base_c {
    Q_OBJECT

public:
    // `edition` (8 black, 9 white) picks the side view of the mouse.
    explicit btn_deactivate_fm_c(int32_t edition, QWidget* parent = nullptr);

    // Retranslation: title, instruction and comment from the host.
    void update() override;

    // Covers the window it belongs to (or the parent's area).
    void cover(QWidget* window);

    const Ui::btn_deactivate_fm& ui() const { return m_ui; }

    // Host texts of the title, the instruction and the comment.
    static constexpr int32_t title_text = 598;
    static constexpr int32_t instruction_text = 599;
    static constexpr int32_t comment_text = 600;

protected:
    // Return and keypad Enter accept; every other key (Escape too) is swallowed.
    void keyPressEvent(QKeyEvent* event) override;
    // Only an accepting key closes the overlay, not the window system's close.
    void reject() override {}

private:
    Ui::btn_deactivate_fm m_ui;
};
