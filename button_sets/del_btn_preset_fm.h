// The confirmation pop-up of deleting a button-set preset: a bubble whose arrow points at
// the tile's delete button, with OK and CANCEL.
#pragma once

#include "pages/form_base.h"
#include "ui_del_btn_preset_fm.h"

#include <QPointer>
#include <QWidget>

class btn_preset_fm_c;
class btn_preset_sub_fm_c;

class del_btn_preset_fm_c : public QWidget, public form_base_c {
    Q_OBJECT

public:
    del_btn_preset_fm_c(btn_preset_fm_c* panel, QWidget* parent = nullptr);

    // Retranslation: title and comment from the host.
    void update() override;
    // OK and CANCEL fitted to their texts and centred side by side.
    void fonts_applied() override;

    // Shows the pop-up for the tile, its arrow on the tile's delete button.
    void open_for(btn_preset_sub_fm_c* tile);
    btn_preset_sub_fm_c* tile() const;
    // Where the pop-up goes for a delete button whose top-left corner is at `anchor` (global).
    QPoint place_for(const QPoint& anchor) const;
    bool answer() const { return m_answer; }
    QPushButton* ok_button() const { return m_ui.btn_ok; }
    QPushButton* cancel_button() const { return m_ui.btn_cancel; }

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    Ui::del_btn_preset_fm m_ui;
    btn_preset_fm_c* m_panel;
    QPointer<btn_preset_sub_fm_c> m_tile;
    bool m_answer = false;
    bool m_answered = false;
};
