#include "host/components/title_component.h"

#include "host/components/preset_list.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QStyle>
#include <QVBoxLayout>

namespace {

// The weight a style sheet gives "font-weight: 700" (the CSS number divided by 8).
constexpr int title_weight = 88;

// A label in a fixed colour: the window's style may colour every label, this one keeps
// its own whatever style surrounds it.
class coloured_label_c final : public QLabel {
public:
    coloured_label_c(const QColor& colour, QWidget* parent)
        : QLabel(parent)
        , m_colour(colour) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setPen(m_colour);
        p.drawText(contentsRect(),
                   int(QStyle::visualAlignment(layoutDirection(), alignment())) |
                       (wordWrap() ? int(Qt::TextWordWrap) : 0),
                   text());
    }

private:
    QColor m_colour;
};

} // namespace

title_component_fm_c::title_component_fm_c(QWidget* parent)
    : QWidget(parent)
    , m_title(new coloured_label_c(QColor(0xe4, 0xe6, 0xe9), this))
    , m_description(new coloured_label_c(QColor(0x8d, 0x93, 0x9b), this))
    , m_presets(new preset_list_c(this)) {
    setObjectName(QStringLiteral("wg_title_component"));
    m_title->setObjectName(QStringLiteral("lb_component_title"));
    m_description->setObjectName(QStringLiteral("lb_component_description"));
    m_description->setWordWrap(true);
    auto* texts = new QVBoxLayout;
    texts->setContentsMargins(0, 0, 0, 0);
    texts->setSpacing(1);
    texts->addWidget(m_title);
    texts->addWidget(m_description);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(12);
    row->addLayout(texts, 1);
    row->addWidget(m_presets, 0, Qt::AlignVCenter);
    m_presets->setMinimumWidth(150);
    m_presets->hide();
    // Colours and lettering by palette and font, not a style sheet: the component is made
    // on every opening of the button page, and a sheet is parsed and matched each time.
    // Only the attributes set here are fixed; the family follows the page.
    QFont title_font;
    title_font.setPixelSize(11);
    title_font.setWeight(title_weight);
    title_font.setLetterSpacing(QFont::AbsoluteSpacing, 2);
    m_title->setFont(title_font);
    QFont description_font;
    description_font.setPixelSize(11);
    m_description->setFont(description_font);
}

void title_component_fm_c::show_presets(bool on) {
    m_presets->setVisible(on);
}

title_component_c::~title_component_c() {
    delete m_form.data();
}

interface_i* title_component_c::query_interface(const GUID& iid) {
    if (iid == iid_of<interface_i>::value || iid == iid_of<preset_selector_i>::value)
        return static_cast<preset_selector_i*>(this);
    return nullptr;
}

void title_component_c::release() {
    m_journal.record(QStringLiteral("release"));
    delete this;
}

title_component_fm_c* title_component_c::ensure_form(QWidget* parent) {
    if (!m_form) {
        // Made in its place: a form made without a parent would be polished as a window
        // of its own and then again under the page's style.
        m_form = new title_component_fm_c(parent);
        m_form->title()->setText(m_title);
        m_form->description()->setText(m_description);
        m_form->presets()->set_client(m_client);
        m_form->presets()->set_presets(m_records);
        m_form->presets()->set_current(m_current);
        m_form->show_presets(!m_records.isEmpty());
    }
    return m_form;
}

void title_component_c::attach(QWidget* parent) {
    m_journal.record(QStringLiteral("attach"),
                     {parent ? parent->objectName() : QStringLiteral("null")});
    if (!parent) {
        // The module takes the component away; the widget goes with its parent otherwise.
        if (m_form) {
            m_form->hide();
            m_form->setParent(nullptr);
        }
        return;
    }
    title_component_fm_c* form = ensure_form(parent);
    if (form->parentWidget() != parent)
        form->setParent(parent);
    if (!parent->layout()) {
        auto* grid = new QGridLayout(parent);
        grid->setContentsMargins(0, 0, 0, 0);
        grid->setSpacing(0);
    }
    if (parent->layout()->indexOf(form) < 0)
        parent->layout()->addWidget(form);
    form->show();
}

void title_component_c::set_texts(const QString& title, const QString& description) {
    m_journal.record(QStringLiteral("set_texts"), {title, description});
    m_title = title;
    m_description = description;
    if (m_form) {
        m_form->title()->setText(title);
        m_form->description()->setText(description);
    }
}

void title_component_c::set_presets(const QList<QByteArray>& records) {
    m_journal.record(QStringLiteral("set_presets"), {records.size()});
    m_records = records;
    if (m_form) {
        m_form->presets()->set_presets(records);
        m_form->show_presets(!records.isEmpty());
    }
}

void title_component_c::set_current(int32_t index) {
    m_journal.record(QStringLiteral("set_current"), {index});
    m_current = index;
    if (m_form)
        m_form->presets()->set_current(index);
}

void title_component_c::set_client(preset_selector_client_i* client) {
    m_journal.record(QStringLiteral("set_client"), {client != nullptr});
    m_client = client;
    if (m_form)
        m_form->presets()->set_client(client);
}
