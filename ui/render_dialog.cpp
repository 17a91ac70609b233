#include "ui/render_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QToolButton>
#include <QValidator>
#include <algorithm>
#include <optional>

#include "glyphs/char_map.h"
#include "picture/image.h"
#include "ui/conversions.h"
#include "ui/pictures.h"

namespace ui {
namespace {

constexpr int kLargestGlyphNumber = 32767;
constexpr int kNoteLines = 4;

template <typename Widget>
Widget* Named(Widget* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

// A whole number of texture pixels from lowest on, or nothing for the editor's own choice. It is
// typed digit by digit and each step must be a number already: so no 0 px, and no size that no
// texture could hold, is ever asked for, as gmftool refuses them.
class OptionalNumber final : public QValidator {
public:
    OptionalNumber(int lowest, QObject* parent) : QValidator(parent), lowest_(lowest) {}

    State validate(QString& input, int&) const override {
        if (input.isEmpty()) return Acceptable;
        const bool digits = std::all_of(input.begin(), input.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
        bool ok = false;
        const int number = input.toInt(&ok);
        return digits && ok && number >= lowest_ && number <= picture::kLargestSide ? Acceptable : Invalid;
    }

private:
    int lowest_;
};

QLineEdit* NumberBox(const char* name, int lowest, QWidget* parent) {
    auto* box = Named(new QLineEdit(parent), name);
    box->setValidator(new OptionalNumber(lowest, box));
    box->setMaximumWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 16);
    return box;
}

std::optional<int> NumberIn(const QLineEdit* box) {
    bool ok = false;
    const int number = box->text().toInt(&ok);
    return ok ? std::optional<int>(number) : std::nullopt;
}

QString NumberText(const std::optional<int>& number) { return number ? QString::number(*number) : QString(); }

template <typename Enum>
void SelectData(QComboBox* combo, Enum value) {
    combo->setCurrentIndex(combo->findData(static_cast<int>(value)));
}

}  // namespace

RenderDialog::RenderDialog(editor::Editor& editor, const editor::RenderDialogTexts& texts, const editor::RenderValues& values,
                           QWidget* parent)
    : QDialog(parent), editor_(editor), shown_(values) {
    setObjectName(QStringLiteral("RenderDialog"));
    setWindowTitle(Utf8(texts.title));
    if (parent) setFont(parent->font());  // a window does not take its owner's font by itself
    BuildControls(texts);
    ShowValues(values);
    ForwardEvents();
    ShowPreview();
}

void RenderDialog::BuildControls(const editor::RenderDialogTexts& texts) {
    auto* grid = new QGridLayout(this);
    grid->setSizeConstraint(QLayout::SetFixedSize);  // sized by its texts and the preview, not by the user
    const auto label = [this](const std::string& text) { return new QLabel(Utf8(text), this); };

    grid->addWidget(label(texts.typeface), 0, 0, 1, 5);
    typeface_ = Named(new QLineEdit(this), "typeface");
    grid->addWidget(typeface_, 1, 0, 1, 4);
    browse_ = Named(new QToolButton(this), "browse");
    browse_->setText(Utf8(texts.browse));
    grid->addWidget(browse_, 1, 4);

    charactersChoice_ = Named(new QRadioButton(Utf8(texts.characters), this), "charactersChoice");
    characters_ = Named(new QLineEdit(this), "characters");
    firstGlyphLabel_ = label(texts.firstGlyph);
    firstGlyph_ = Named(new QSpinBox(this), "firstGlyph");
    firstGlyph_->setRange(1, kLargestGlyphNumber);
    codePageChoice_ = Named(new QRadioButton(Utf8(texts.codePage), this), "codePageChoice");
    codePage_ = Named(new QComboBox(this), "codePage");
    for (const int page : glyphs::kCodePages) codePage_->addItem(QString::number(page), page);
    firstByteLabel_ = label(texts.firstByte);
    firstByte_ = Named(new QSpinBox(this), "firstByte");
    firstByte_->setRange(0, 255);
    const struct { QWidget* choice; QWidget* value; QLabel* firstLabel; QSpinBox* first; } mappings[] = {
        {charactersChoice_, characters_, firstGlyphLabel_, firstGlyph_},
        {codePageChoice_, codePage_, firstByteLabel_, firstByte_},
    };
    int row = 2;
    for (const auto& mapping : mappings) {
        grid->addWidget(mapping.choice, row, 0);
        grid->addWidget(mapping.value, row, 1);
        grid->addWidget(mapping.firstLabel, row, 2, Qt::AlignRight);
        grid->addWidget(mapping.first, row, 3);
        ++row;
    }

    size_ = NumberBox("size", 1, this);
    baseline_ = NumberBox("baseline", 0, this);
    grid->addWidget(label(texts.size), row, 0);
    grid->addWidget(size_, row, 1, Qt::AlignLeft);
    grid->addWidget(label(texts.baseline), row, 2, Qt::AlignRight);
    grid->addWidget(baseline_, row, 3);
    grid->addWidget(Named(label(texts.automatic), "automatic"), row, 4);
    ++row;

    hinting_ = Named(new QComboBox(this), "hinting");
    const glyphs::Hinting hintings[] = {glyphs::Hinting::None, glyphs::Hinting::Light, glyphs::Hinting::Full};
    for (std::size_t i = 0; i < std::size(hintings); ++i) hinting_->addItem(Utf8(texts.hintings[i]), static_cast<int>(hintings[i]));
    width_ = Named(new QComboBox(this), "width");
    width_->addItem(Utf8(texts.widths[0]), static_cast<int>(glyphs::WidthRule::Advance));
    width_->addItem(Utf8(texts.widths[1]), static_cast<int>(glyphs::WidthRule::Ink));
    grid->addWidget(label(texts.hinting), row, 0);
    grid->addWidget(hinting_, row, 1, Qt::AlignLeft);
    grid->addWidget(label(texts.width), row, 2, Qt::AlignRight);
    grid->addWidget(width_, row, 3, 1, 2, Qt::AlignLeft);
    ++row;

    preview_ = Named(new QLabel(this), "preview");
    preview_->setFixedSize(editor::kPreviewWidth, editor::kPreviewHeight);
    grid->addWidget(preview_, row++, 0, 1, 5, Qt::AlignHCenter);

    // Room for a few lines; a long list of glyphs scrolls rather than hides.
    notes_ = Named(new QLabel(this), "notes");
    notes_->setTextFormat(Qt::PlainText);  // glyph names and file names, never markup
    notes_->setWordWrap(true);
    notes_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto* notesArea = Named(new QScrollArea(this), "notesArea");
    notesArea->setWidget(notes_);
    notesArea->setWidgetResizable(true);
    notesArea->setFrameShape(QFrame::NoFrame);
    notesArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    notesArea->setFixedSize(editor::kPreviewWidth, kNoteLines * fontMetrics().lineSpacing() + 4);
    grid->addWidget(notesArea, row++, 0, 1, 5, Qt::AlignHCenter);

    auto* buttons = new QDialogButtonBox(this);
    draw_ = Named(buttons->addButton(Utf8(texts.draw), QDialogButtonBox::AcceptRole), "draw");
    cancel_ = Named(buttons->addButton(Utf8(texts.cancel), QDialogButtonBox::RejectRole), "cancel");
    draw_->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    grid->addWidget(buttons, row, 0, 1, 5);
    grid->setColumnStretch(1, 1);
}

void RenderDialog::ShowValues(const editor::RenderValues& values) {
    typeface_->setText(PathText(values.typeface));
    (values.fromCodePage ? codePageChoice_ : charactersChoice_)->setChecked(true);
    characters_->setText(Utf8(values.characters));
    firstGlyph_->setValue(values.firstGlyph);
    SelectData(codePage_, values.codePage);
    firstByte_->setValue(values.firstByte);
    size_->setText(NumberText(values.px));
    baseline_->setText(NumberText(values.baseline));
    SelectData(hinting_, values.hinting);
    SelectData(width_, values.width);
    ShowChoice();
}

editor::RenderValues RenderDialog::Values() const {
    editor::RenderValues values = shown_;
    values.typeface = NativePath(typeface_->text());
    values.fromCodePage = codePageChoice_->isChecked();
    values.characters = characters_->text().toStdString();
    values.firstGlyph = firstGlyph_->value();
    if (codePage_->currentIndex() >= 0) values.codePage = codePage_->currentData().toInt();
    values.firstByte = firstByte_->value();
    values.px = NumberIn(size_);
    values.baseline = NumberIn(baseline_);
    values.hinting = static_cast<glyphs::Hinting>(hinting_->currentData().toInt());
    values.width = static_cast<glyphs::WidthRule>(width_->currentData().toInt());
    return values;
}

void RenderDialog::ForwardEvents() {
    const auto preview = [this] { ShowPreview(); };
    for (QLineEdit* box : {typeface_, characters_, size_, baseline_}) connect(box, &QLineEdit::textChanged, this, preview);
    for (QSpinBox* number : {firstGlyph_, firstByte_}) connect(number, &QSpinBox::valueChanged, this, preview);
    for (QComboBox* combo : {codePage_, hinting_, width_}) connect(combo, &QComboBox::currentIndexChanged, this, preview);
    // One of the two turns on at each change of choice; the other turning off is the same change.
    connect(codePageChoice_, &QRadioButton::toggled, this, [this] {
        ShowChoice();
        ShowPreview();
    });
    connect(browse_, &QToolButton::clicked, this, &RenderDialog::ChooseTypeface);
}

// Only the chosen way of naming the characters takes input.
void RenderDialog::ShowChoice() {
    const bool fromCodePage = codePageChoice_->isChecked();
    for (QWidget* typed : std::initializer_list<QWidget*>{characters_, firstGlyphLabel_, firstGlyph_}) typed->setEnabled(!fromCodePage);
    for (QWidget* coded : std::initializer_list<QWidget*>{codePage_, firstByteLabel_, firstByte_}) coded->setEnabled(fromCodePage);
}

void RenderDialog::ShowPreview() {
    const editor::RenderPreview preview = editor_.PreviewRender(Values());
    preview_->setPixmap(QPixmap::fromImage(PixelsOf(preview.image)));
    QStringList notes;
    for (const std::string& note : preview.notes) notes << Utf8(note);
    notes_->setText(notes.join(QLatin1Char('\n')));
    draw_->setEnabled(preview.canDraw);
}

void RenderDialog::ChooseTypeface() {
    if (const auto chosen = editor_.ChooseTypeface(NativePath(typeface_->text()))) typeface_->setText(PathText(*chosen));
}

}  // namespace ui
