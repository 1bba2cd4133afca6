#include "host/components/dialog_frame.h"

#include "host/components/button_texts.h"
#include "host/components/component_context.h"

#include <QApplication>
#include <QGraphicsDropShadowEffect>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace {

// Room around the card for its shadow.
constexpr int k_shadow_margin = 14;

} // namespace

dialog_frame_c::dialog_frame_c(component_context_c* context, const QString& object_name,
                               int32_t title_id, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
    , m_context(context)
    , m_title_id(title_id) {
    setObjectName(object_name);
    setAttribute(Qt::WA_TranslucentBackground);
    setModal(true);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(k_shadow_margin, k_shadow_margin, k_shadow_margin, k_shadow_margin);
    m_card = new QFrame(this);
    m_card->setObjectName(QStringLiteral("wg_dialog_card"));
    auto* shadow = new QGraphicsDropShadowEffect(m_card);
    shadow->setOffset(0, 4);
    shadow->setBlurRadius(24);
    shadow->setColor(QColor(0, 0, 0, 170));
    m_card->setGraphicsEffect(shadow);
    outer->addWidget(m_card);

    auto* column = new QVBoxLayout(m_card);
    column->setContentsMargins(22, 16, 22, 18);
    column->setSpacing(12);
    m_title = new QLabel(m_card);
    m_title->setObjectName(QStringLiteral("lb_dialog_title"));
    column->addWidget(m_title);
    auto* rule = new QFrame(m_card);
    rule->setObjectName(QStringLiteral("wg_dialog_rule"));
    rule->setFixedHeight(1);
    column->addWidget(rule);
    m_body = new QVBoxLayout;
    m_body->setSpacing(10);
    column->addLayout(m_body, 1);
    m_message = new QLabel(m_card);
    m_message->setObjectName(QStringLiteral("lb_dialog_message"));
    m_message->setWordWrap(true);
    m_message->hide();
    column->addWidget(m_message);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(10);
    buttons->addStretch(1);
    m_cancel = new QPushButton(m_card);
    m_cancel->setObjectName(QStringLiteral("btn_dialog_cancel"));
    m_ok = new QPushButton(m_card);
    m_ok->setObjectName(QStringLiteral("btn_dialog_ok"));
    m_ok->setDefault(true);
    for (QPushButton* button : {m_cancel, m_ok}) {
        button->setCursor(Qt::PointingHandCursor);
        button->setMinimumWidth(96);
        buttons->addWidget(button);
    }
    column->addSpacing(4);
    column->addLayout(buttons);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    if (context)
        connect(context, &component_context_c::language_changed, this,
                &dialog_frame_c::retranslate);
    setStyleSheet(style_sheet());
    retranslate();
}

QString dialog_frame_c::text(int32_t id) const {
    return m_context ? m_context->text(id) : QString();
}

void dialog_frame_c::set_title(const QString& text) {
    m_custom_title = text;
    retranslate();
}

void dialog_frame_c::set_message(const QString& text, bool warning) {
    m_message->setText(text);
    m_message->setProperty("warning", warning);
    m_message->setStyleSheet(QString()); // takes the property into account again
    m_message->setVisible(!text.isEmpty());
}

QString dialog_frame_c::message() const {
    return m_message->text();
}

void dialog_frame_c::retranslate() {
    // Titles are set in capitals, whoever gives them.
    m_title->setText((m_custom_title.isEmpty() ? text(m_title_id) : m_custom_title).toUpper());
    m_ok->setText(text(button_text::ok));
    m_cancel->setText(text(button_text::cancel));
    emit retranslate_requested();
}

int32_t dialog_frame_c::run() {
    if (!parentWidget()) {
        if (QWidget* front = QApplication::activeWindow()) {
            setParent(front, windowFlags());
        }
    }
    adjustSize();
    const QWidget* over = parentWidget() ? parentWidget()->window() : nullptr;
    const QRect area = over       ? over->frameGeometry()
                       : screen() ? screen()->availableGeometry()
                                  : QRect();
    if (area.isValid())
        move(area.center() - rect().center());
    return exec() == QDialog::Accepted ? 1 : 0;
}

void dialog_frame_c::mousePressEvent(QMouseEvent* event) {
    // The title row moves the window, as a system title bar would.
    if (event->button() == Qt::LeftButton && m_title->geometry()
                                                 .translated(m_card->pos())
                                                 .adjusted(-22, -16, 22, 8)
                                                 .contains(event->pos())) {
        m_dragging = true;
        m_drag_offset = event->globalPos() - frameGeometry().topLeft();
    }
    QDialog::mousePressEvent(event);
}

void dialog_frame_c::mouseMoveEvent(QMouseEvent* event) {
    if (m_dragging)
        move(event->globalPos() - m_drag_offset);
    QDialog::mouseMoveEvent(event);
}

void dialog_frame_c::mouseReleaseEvent(QMouseEvent* event) {
    m_dragging = false;
    QDialog::mouseReleaseEvent(event);
}

QString dialog_frame_c::style_sheet() {
    return QStringLiteral(R"(
QFrame#wg_dialog_card {
    background: qlineargradient(x1: 0, y1: 0, x2: 0, y2: 1, stop: 0 #1f2227, stop: 1 #191b1f);
    border: 1px solid #30343b;
    border-radius: 10px;
}
QFrame#wg_dialog_rule {
    background: #2a2e35;
    border: none;
}
QLabel {
    background: transparent;
    color: #b4b9c0;
    font-size: 12px;
}
QLabel#lb_dialog_title {
    color: #eceef1;
    font-size: 12px;
    font-weight: 800;
    letter-spacing: 3px;
}
QLabel[role="field"] {
    color: #7e838b;
    font-size: 10px;
    font-weight: 700;
    letter-spacing: 1px;
}
QLabel[role="hint"] {
    color: #6c7179;
    font-size: 11px;
}
QLabel#lb_dialog_message {
    color: #8fc9db;
    font-size: 11px;
}
QLabel#lb_dialog_message[warning="true"] {
    color: #e5736b;
}
QLineEdit, QAbstractSpinBox, QComboBox {
    background: #111316;
    color: #eceef1;
    border: 1px solid #2e3239;
    border-radius: 4px;
    padding: 6px 8px;
    font-size: 12px;
    selection-background-color: #1f7a99;
}
QLineEdit:focus, QAbstractSpinBox:focus, QComboBox:focus {
    border-color: #3aa7c9;
}
QLineEdit[invalid="true"] {
    border-color: #b5524b;
}
QAbstractSpinBox::up-button, QAbstractSpinBox::down-button {
    width: 0px;
    border: none;
}
QComboBox::drop-down {
    border: none;
    width: 22px;
}
QComboBox::down-arrow {
    image: url(:/koral/arrow_down.svg);
    width: 10px;
    height: 6px;
}
QComboBox QAbstractItemView {
    background: #1d2024;
    color: #dcdfe3;
    border: 1px solid #33373e;
    selection-background-color: #2c3138;
    outline: 0;
}
QPushButton {
    background: #262a30;
    color: #dcdfe3;
    border: 1px solid #353a42;
    border-radius: 4px;
    padding: 7px 16px;
    font-size: 11px;
    font-weight: 700;
    letter-spacing: 1px;
}
QPushButton:hover {
    background: #2d3239;
    border-color: #4a5059;
}
QPushButton:pressed {
    background: #202328;
}
QPushButton:disabled {
    color: #4a4e55;
    background: #1c1f23;
    border-color: #272a30;
}
QPushButton#btn_dialog_ok {
    background: #1f7a99;
    border-color: #2a8fb1;
    color: #ffffff;
}
QPushButton#btn_dialog_ok:hover {
    background: #2589ab;
}
QPushButton#btn_dialog_ok:disabled {
    background: #1c2f36;
    border-color: #22383f;
    color: #5b7680;
}
QPushButton#btn_dialog_cancel {
    background: transparent;
}
QTreeWidget {
    background: #111316;
    alternate-background-color: #15181b;
    color: #c4c8ce;
    border: 1px solid #262a30;
    border-radius: 4px;
    font-size: 12px;
    outline: 0;
}
QTreeWidget::item {
    padding: 4px 2px;
    border: none;
}
QTreeWidget::item:selected {
    background: #22394a;
    color: #ffffff;
}
QHeaderView::section {
    background: #181b1f;
    color: #7e838b;
    border: none;
    border-bottom: 1px solid #262a30;
    padding: 5px 6px;
    font-size: 10px;
    font-weight: 700;
    letter-spacing: 1px;
}
QScrollBar:vertical {
    background: transparent;
    width: 8px;
}
QScrollBar::handle:vertical {
    background: #33383f;
    border-radius: 4px;
    min-height: 24px;
}
QScrollBar::add-line, QScrollBar::sub-line {
    height: 0px;
}
)");
}

// ---------------------------------------------------------------------------
// dialog_component_c

dialog_component_c::dialog_component_c(component_context_c* context)
    : m_context(context) {}

dialog_component_c::~dialog_component_c() {
    delete m_dialog.data();
}

int32_t dialog_component_c::run_dialog(dialog_frame_c* dialog,
                                       const std::function<void()>& accepted) {
    if (m_running) {
        delete dialog;
        return 0;
    }
    m_dialog = dialog;
    m_running = true;
    const int32_t answer = dialog->run();
    m_running = false;
    const bool taken = answer == 1 && !m_released && m_dialog;
    if (taken && accepted)
        accepted();
    delete m_dialog.data();
    if (m_released)
        deleteLater(); // the caller still returns through this object
    return taken ? 1 : 0;
}

void dialog_component_c::release_component() {
    m_journal.record(QStringLiteral("release"));
    if (m_running) {
        m_released = true;
        if (m_dialog)
            m_dialog->reject();
        return;
    }
    delete this;
}
