#include "ui/form1.h"

#include <QAction>
#include <QActionGroup>
#include <QDropEvent>
#include <QEvent>
#include <QFileInfo>
#include <QGroupBox>
#include <QApplication>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <algorithm>
#include <cmath>

#include "ui/conversions.h"
#include "ui/magnifier.h"
#include "ui/picture_box.h"
#include "ui/pictures.h"
#include "ui/render_dialog.h"

namespace ui {
namespace {

constexpr double kTwipsPerPixel = 15;
const QColor kGroupBackground(0xE0, 0xE0, 0xE0);

int Px(int twips) { return static_cast<int>(std::lround(twips / kTwipsPerPixel)); }

// A control's place in twips (Left, Top, Width, Height), as the layout is drawn up.
QRect Twips(int left, int top, int width, int height) {
    return {Px(left), Px(top), Px(width), Px(height)};
}

QFont SansFont(double points, bool bold) {
    QFont font;
    // The layout was drawn for MS Sans Serif; Liberation Sans is about as wide and covers
    // Cyrillic, and DejaVu Sans stands in for both.
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

template <typename Widget>
Widget* Place(Widget* widget, const char* name, const QRect& geometry) {
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(geometry);
    return widget;
}

void SetColour(QWidget* widget, QPalette::ColorRole role, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(role, colour);
    widget->setPalette(palette);
}

// A caption-less group, flat in its own colour: Qt's styles shade a group box's panel in a grey
// of their own, which would hide the colour the groups are given.
class FlatGroup final : public QGroupBox {
public:
    using QGroupBox::QGroupBox;

protected:
    void paintEvent(QPaintEvent*) override {}  // the background fill is all there is to draw
};

QGroupBox* Group(QWidget* parent, const char* name, const QRect& geometry) {
    auto* group = Place(new FlatGroup(parent), name, geometry);
    SetColour(group, QPalette::Window, kGroupBackground);
    group->setAutoFillBackground(true);
    return group;
}

QLabel* Label(QWidget* parent, const char* name, const QString& text, const QRect& geometry,
              Qt::Alignment alignment) {
    auto* label = Place(new QLabel(text, parent), name, geometry);
    label->setAlignment(alignment | Qt::AlignVCenter);
    return label;
}

// Label3 is one name for five labels told apart by their index.
QLabel* IndexedLabel(QWidget* parent, int index, const QString& text, const QRect& geometry, Qt::Alignment alignment) {
    QLabel* label = Label(parent, "Label3", text, geometry, alignment);
    label->setProperty("Index", index);
    return label;
}

QLineEdit* EditBox(QWidget* parent, const char* name, const QRect& geometry, bool readOnly) {
    auto* box = Place(new QLineEdit(QStringLiteral("0"), parent), name, geometry);
    box->setAlignment(Qt::AlignCenter);
    box->setFont(SansFont(12, true));
    box->setReadOnly(readOnly);
    return box;
}

QPushButton* ArrowButton(QWidget* parent, const char* name, const QRect& geometry, const QImage& arrow) {
    auto* button = Place(new QPushButton(parent), name, geometry);
    button->setIcon(QIcon(QPixmap::fromImage(arrow)));
    button->setIconSize(arrow.size());
    button->setStyleSheet(QStringLiteral("QPushButton { padding: 0px; }"));
    return button;
}

}  // namespace

Form1::Form1(Prompts& prompts, char decimalSeparator, editor::SettingsStore* settings, QWidget* parent)
    : QMainWindow(parent), prompts_(prompts) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Runeplot 1.1"));
    setWindowIcon(QIcon(QPixmap::fromImage(IconImage())));
    setFont(SansFont(8.25, false));
    BuildControls();
    messageTimer_.setSingleShot(true);
    textureSettledTimer_.setSingleShot(true);
    // Gives the controls their texts and runs the start-up routine.
    editor_ = std::make_unique<editor::Editor>(*this, decimalSeparator, settings);
    magnifier_ = new Magnifier(*editor_, this);
    magnifier_->setWindowTitle(MagnifierItem->text());  // the item's, given before it existed
    ForwardEvents();
    // Files dropped anywhere on the window reach it, the boxes' own text drops aside.
    setAcceptDrops(true);
    for (QWidget* box : std::initializer_list<QWidget*>{Text1, Text2, Text3, Text4, Text5, info}) box->setAcceptDrops(false);
}

Form1::~Form1() = default;

void Form1::BuildControls() {
    // The editor gives every menu and control its text.
    opp = menuBar()->addAction(QString());
    opp->setObjectName(QStringLiteral("opp"));
    EditMenu = menuBar()->addMenu(QString());
    EditMenu->setObjectName(QStringLiteral("EditMenu"));
    const auto item = [this](const char* name, const QList<QKeySequence>& keys) {
        QAction* action = EditMenu->addAction(QString());
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcuts(keys);
        return action;
    };
    Undo = item("Undo", {QKeySequence(Qt::CTRL | Qt::Key_Z)});
    Redo = item("Redo", {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    EditMenu->addSeparator();
    FitGlyph = item("FitGlyph", {QKeySequence(Qt::CTRL | Qt::Key_F)});
    FitAllGlyphs = item("FitAllGlyphs", {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F)});
    DrawGlyphs = item("DrawGlyphs", {QKeySequence(Qt::CTRL | Qt::Key_R)});

    ViewMenu = menuBar()->addMenu(QString());
    ViewMenu->setObjectName(QStringLiteral("ViewMenu"));
    MagnifierItem = ViewMenu->addAction(QString());
    MagnifierItem->setObjectName(QStringLiteral("MagnifierItem"));
    MagnifierItem->setCheckable(true);
    MagnifierItem->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    // The language is the menu's last entry.
    LanguageMenu = ViewMenu->addMenu(QString());
    LanguageMenu->setObjectName(QStringLiteral("LanguageMenu"));
    auto* languages = new QActionGroup(LanguageMenu);
    for (QAction** language : {&Russian, &English}) {
        *language = languages->addAction(QString());
        (*language)->setCheckable(true);
        LanguageMenu->addAction(*language);
    }
    Russian->setObjectName(QStringLiteral("Russian"));
    English->setObjectName(QStringLiteral("English"));

    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(kClientWidth, kClientHeight);
    setCentralWidget(client);

    // The texture panel.
    Frame1 = Group(client, "Frame1", Twips(0, 0, 7935, 8055));
    Shape1 = Place(new QWidget(Frame1), "Shape1", Twips(120, 240, 7695, 7695));
    SetColour(Shape1, QPalette::Window, Qt::black);
    Shape1->setAutoFillBackground(true);
    Picture1 = Place(new PictureBox(Frame1), "Picture1", Twips(120, 240, 7680, 7680));
    Picture1->setFocusPolicy(Qt::TabFocus);
    Picture1->setMouseTracking(true);  // the cursor shows what a press would take hold of
    err = Label(Picture1, "err", QString(),
                Twips(720, 2880, 6255, 1215), Qt::AlignHCenter);
    err->setAutoFillBackground(true);
    SetColour(err, QPalette::Window, Qt::black);
    SetColour(err, QPalette::WindowText, QColor(0xFF, 0, 0));
    err->setFont(SansFont(24, true));
    err->setWordWrap(true);
    err->setAttribute(Qt::WA_TransparentForMouseEvents);  // a glyph under the warning is clicked all the same
    err->hide();

    // The glyph selector.
    Frame3 = Group(client, "Frame3", Twips(7940, 0, 3720, 1215));
    Label1 = Label(Frame3, "Label1", QString(), Twips(240, 240, 3255, 375), Qt::AlignHCenter);
    Label1->setFont(SansFont(18, true));
    SetColour(Label1, QPalette::WindowText, Qt::black);
    scr = Place(new QScrollBar(Qt::Horizontal, Frame3), "scr", Twips(120, 840, 3495, 255));
    scr->setRange(0, 0);
    scr->setSingleStep(1);
    scr->setPageStep(1);
    scr->setTracking(false);          // no refresh while the thumb is dragged, one at its release
    scr->setInvertedControls(false);  // Right and End forward, Left and Home back
    scr->setFocusPolicy(Qt::StrongFocus);
    scr->setContextMenuPolicy(Qt::NoContextMenu);  // the selector has no menu of its own
    scr->installEventFilter(this);

    // The glyph's edges. Frame2 is drawn over Frame3 where they overlap.
    Frame2 = Group(client, "Frame2", Twips(7940, 1120, 3735, 2055));
    const auto right = Qt::AlignRight;
    Label3[3] = IndexedLabel(Frame2, 3, QString(), Twips(120, 480, 2415, 255), right);
    Text1 = EditBox(Frame2, "Text1", Twips(2640, 360, 735, 405), true);
    Command5 = ArrowButton(Frame2, "Command5", Twips(3360, 360, 255, 190), UpArrow());
    Command4 = ArrowButton(Frame2, "Command4", Twips(3360, 570, 255, 190), DownArrow());
    Label3[0] = IndexedLabel(Frame2, 0, QString(), Twips(0, 885, 2535, 255), right);
    Text2 = EditBox(Frame2, "Text2", Twips(2640, 840, 735, 405), true);
    Command7 = ArrowButton(Frame2, "Command7", Twips(3360, 840, 255, 190), UpArrow());
    Command6 = ArrowButton(Frame2, "Command6", Twips(3360, 1050, 255, 190), DownArrow());
    Label3[1] = IndexedLabel(Frame2, 1, QString(), Twips(0, 1320, 2535, 255), right);
    Text3 = EditBox(Frame2, "Text3", Twips(2640, 1320, 735, 405), true);
    Command2 = ArrowButton(Frame2, "Command2", Twips(3360, 1320, 255, 190), UpArrow());
    Command3 = ArrowButton(Frame2, "Command3", Twips(3360, 1530, 255, 190), DownArrow());

    // The font parameters.
    Frame4 = Group(client, "Frame4", Twips(7940, 3090, 3720, 1455));
    Label2 = Label(Frame4, "Label2", QString(), Twips(720, 120, 2535, 255), Qt::AlignLeft);
    SetColour(Label2, QPalette::WindowText, QColor(0x80, 0, 0));
    Label3[2] = IndexedLabel(Frame4, 2, QString(), Twips(0, 600, 1335, 255), right);
    Text4 = EditBox(Frame4, "Text4", Twips(1560, 480, 855, 405), false);
    Label3[4] = IndexedLabel(Frame4, 4, QString(), Twips(-120, 1080, 1575, 255), right);
    Text5 = EditBox(Frame4, "Text5", Twips(1560, 960, 855, 405), false);
    Command1 = Place(new QPushButton(Frame4), "Command1", Twips(2520, 480, 1095, 855));
    Command1->setFont(SansFont(8.25, true));
    Command1->setStyleSheet(QStringLiteral("QPushButton { background-color: #80FF80; }"));

    // The two paths.
    Frame5 = Group(client, "Frame5", Twips(7940, 4460, 3720, 855));
    Label4 = Label(Frame5, "Label4", QString(), Twips(120, 240, 3495, 255), Qt::AlignLeft);
    Label5 = Label(Frame5, "Label5", QString(), Twips(120, 480, 3495, 255), Qt::AlignLeft);
    for (QLabel* path : {Label4, Label5}) path->setTextFormat(Qt::PlainText);  // a name, never markup

    info = Place(new QPlainTextEdit(client), "info", Twips(7940, 5320, 3720, 2680));
    info->setReadOnly(true);
    info->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    info->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    info->setFont(SansFont(8.25, true));
    SetColour(info, QPalette::Base, kGroupBackground);

    // Where groups overlap, the later one is drawn on top, as they are listed.
    Frame2->raise();

    const QWidget* tabOrder[] = {Picture1, Command7, Command6, Command5, Command4, Command3, Command2,
                                 Text3, Text2, Text1, scr, Text4, Command1, info, Text5};
    for (std::size_t i = 1; i < std::size(tabOrder); ++i) {
        setTabOrder(const_cast<QWidget*>(tabOrder[i - 1]), const_cast<QWidget*>(tabOrder[i]));
    }
}

void Form1::ForwardEvents() {
    connect(opp, &QAction::triggered, this, [this] { editor_->OpenCommand(); });
    connect(Undo, &QAction::triggered, this, [this] { editor_->Undo(); });
    connect(Redo, &QAction::triggered, this, [this] { editor_->Redo(); });
    connect(FitGlyph, &QAction::triggered, this, [this] { editor_->FitGlyph(); });
    connect(FitAllGlyphs, &QAction::triggered, this, [this] { editor_->FitAllGlyphs(); });
    connect(DrawGlyphs, &QAction::triggered, this, [this] { editor_->DrawGlyphsCommand(); });
    connect(Russian, &QAction::triggered, this, [this] { editor_->ChooseLanguage(editor::Language::Russian); });
    connect(English, &QAction::triggered, this, [this] { editor_->ChooseLanguage(editor::Language::English); });
    connect(MagnifierItem, &QAction::triggered, this, [this] { editor_->ToggleMagnifier(); });
    Picture1->installEventFilter(this);
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this,
            [this] { editor_->PressKey(editor::Surface::Picture1, editor::Key::Escape); });
    for (QLineEdit* box : {Text4, Text5}) box->installEventFilter(this);
    connect(scr, &QScrollBar::valueChanged, this, [this] { editor_->OnSelectorChanged(); });
    const std::pair<QPushButton*, editor::Control> arrows[] = {
        {Command2, editor::Control::Command2}, {Command3, editor::Control::Command3}, {Command4, editor::Control::Command4},
        {Command5, editor::Control::Command5}, {Command6, editor::Control::Command6}, {Command7, editor::Control::Command7},
    };
    for (const auto& [button, command] : arrows) {
        connect(button, &QPushButton::clicked, this, [this, command] { editor_->ClickArrow(command); });
    }
    connect(Command1, &QPushButton::clicked, this, [this] { editor_->SaveFontParameters(); });
    connect(&messageTimer_, &QTimer::timeout, this, [this] { editor_->OnTimer(editor::Timer::Message); });
    connect(&textureSettledTimer_, &QTimer::timeout, this, [this] { editor_->OnTimer(editor::Timer::TextureSettled); });
    connect(&watcher_, &QFileSystemWatcher::fileChanged, this, &Form1::OnWatchedPathChanged);
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, &Form1::OnWatchedPathChanged);
}

void Form1::OpenFromCommandLine(const QString& fontPath, const QString& picturePath) {
    editor_->OpenFromCommandLine(NativePath(fontPath), picturePath.isEmpty() ? std::filesystem::path() : NativePath(picturePath));
}

// The keys that undo and redo the typing in a font parameter box, as users expect of a box.
bool Form1::IsBoxOwnUndoKey(QObject* watched, QEvent* event) const {
    if (watched != Text4 && watched != Text5) return false;
    if (event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress) return false;
    const QKeyCombination key = static_cast<QKeyEvent*>(event)->keyCombination();
    return key == (Qt::CTRL | Qt::Key_Z) || key == (Qt::CTRL | Qt::Key_Y) || key == (Qt::CTRL | Qt::SHIFT | Qt::Key_Z);
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    if (IsBoxOwnUndoKey(watched, event)) {
        // Kept from the window's shortcuts and done here: a box's own keys differ by desktop theme.
        if (event->type() == QEvent::ShortcutOverride) {
            event->accept();
            return true;
        }
        auto* box = static_cast<QLineEdit*>(watched);
        if (static_cast<QKeyEvent*>(event)->keyCombination() == (Qt::CTRL | Qt::Key_Z)) box->undo();
        else box->redo();
        return true;
    }
    if (watched == Picture1 && editor_) ForwardPictureMouse(event);
    // Only the left button steps the selector; no other holds a message back.
    const auto leftButton = [event] { return static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton; };
    if (!editor_) return QMainWindow::eventFilter(watched, event);
    if (watched == scr && event->type() == QEvent::MouseButtonPress && leftButton()) editor_->OnSelectorPressed();
    if (watched == scr && event->type() == QEvent::MouseButtonRelease && leftButton()) editor_->OnSelectorReleased();
    return QMainWindow::eventFilter(watched, event);
}

void Form1::dragEnterEvent(QDragEnterEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (!urls.isEmpty() && std::all_of(urls.begin(), urls.end(), [](const QUrl& url) { return url.isLocalFile(); })) {
        event->acceptProposedAction();
    }
}

void Form1::dropEvent(QDropEvent* event) {
    std::vector<std::filesystem::path> files;
    for (const QUrl& url : event->mimeData()->urls()) files.push_back(NativePath(url.toLocalFile()));
    event->acceptProposedAction();
    // After the drop has ended: the dialog an open may ask would otherwise hold the dragging program.
    QTimer::singleShot(0, this, [this, files] { editor_->DropFiles(files); });
}

void Form1::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && !isActiveWindow() && editor_) editor_->LostMouse(editor::Surface::Picture1);
    QMainWindow::changeEvent(event);
}

// Picture1 shows the texture unscaled: its pixels are the texture's, and at a device pixel ratio
// above 1 a position has fractions. The second press of a double click comes as a double click.
void Form1::ForwardPictureMouse(QEvent* event) {
    const auto type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick && type != QEvent::MouseMove &&
        type != QEvent::MouseButtonRelease) {
        return;
    }
    const auto* mouse = static_cast<QMouseEvent*>(event);
    const QPoint at(editor::PixelUnder(mouse->position().x(), 1), editor::PixelUnder(mouse->position().y(), 1));
    if (type == QEvent::MouseMove) return editor_->MovePicture(editor::Surface::Picture1, at.x(), at.y());
    if (mouse->button() != Qt::LeftButton) return;
    if (type == QEvent::MouseButtonRelease) editor_->ReleasePicture(editor::Surface::Picture1, at.x(), at.y());
    else editor_->PressPicture(editor::Surface::Picture1, at.x(), at.y());
}

void Form1::SetText(editor::Box box, const std::string& text) {
    switch (box) {
    case editor::Box::Text1: return Text1->setText(Utf8(text));
    case editor::Box::Text2: return Text2->setText(Utf8(text));
    case editor::Box::Text3: return Text3->setText(Utf8(text));
    case editor::Box::Text4: return Text4->setText(Utf8(text));
    case editor::Box::Text5: return Text5->setText(Utf8(text));
    case editor::Box::info: return info->setPlainText(Utf8(text));
    }
}

std::string Form1::Text(editor::Box box) const {
    switch (box) {
    case editor::Box::Text1: return Text1->text().toStdString();
    case editor::Box::Text2: return Text2->text().toStdString();
    case editor::Box::Text3: return Text3->text().toStdString();
    case editor::Box::Text4: return Text4->text().toStdString();
    case editor::Box::Text5: return Text5->text().toStdString();
    case editor::Box::info: return info->toPlainText().toStdString();
    }
    return {};
}

void Form1::SetCaption(editor::Label label, const std::string& caption) {
    switch (label) {
    case editor::Label::Label1: return Label1->setText(Utf8(caption));
    case editor::Label::Label4: return Label4->setText(Utf8(caption));
    case editor::Label::Label5: return Label5->setText(Utf8(caption));
    }
}

QWidget* Form1::ControlWidget(editor::Control control) const {
    switch (control) {
    case editor::Control::Frame2: return Frame2;
    case editor::Control::Frame4: return Frame4;
    case editor::Control::scr: return scr;
    case editor::Control::Picture1: return Picture1;
    case editor::Control::Shape1: return Shape1;
    case editor::Control::err: return err;
    case editor::Control::Command2: return Command2;
    case editor::Control::Command3: return Command3;
    case editor::Control::Command4: return Command4;
    case editor::Control::Command5: return Command5;
    case editor::Control::Command6: return Command6;
    case editor::Control::Command7: return Command7;
    default: return nullptr;  // the menu's items are actions
    }
}

void Form1::SetVisible(editor::Control control, bool visible) {
    if (QWidget* widget = ControlWidget(control)) widget->setVisible(visible);
}

QAction* Form1::MenuAction(editor::Control control) const {
    switch (control) {
    case editor::Control::EditMenu: return EditMenu->menuAction();
    case editor::Control::Undo: return Undo;
    case editor::Control::Redo: return Redo;
    case editor::Control::FitGlyph: return FitGlyph;
    case editor::Control::FitAllGlyphs: return FitAllGlyphs;
    case editor::Control::DrawGlyphs: return DrawGlyphs;
    default: return nullptr;
    }
}

void Form1::SetEnabled(editor::Control control, bool enabled) {
    if (QAction* action = MenuAction(control)) return action->setEnabled(enabled);
    if (QWidget* widget = ControlWidget(control)) widget->setEnabled(enabled);
}

void Form1::SetControlText(editor::ControlText control, const std::string& text) {
    using editor::ControlText;
    const QString shown = Utf8(text);
    switch (control) {
    case ControlText::opp: return opp->setText(shown);
    case ControlText::EditMenu: return EditMenu->setTitle(shown);
    case ControlText::Undo: return Undo->setText(shown);
    case ControlText::Redo: return Redo->setText(shown);
    case ControlText::FitGlyph: return FitGlyph->setText(shown);
    case ControlText::FitAllGlyphs: return FitAllGlyphs->setText(shown);
    case ControlText::DrawGlyphs: return DrawGlyphs->setText(shown);
    case ControlText::ViewMenu: return ViewMenu->setTitle(shown);
    case ControlText::MagnifierItem:
        if (magnifier_) magnifier_->setWindowTitle(shown);
        return MagnifierItem->setText(shown);
    case ControlText::LanguageMenu: return LanguageMenu->setTitle(shown);
    case ControlText::Russian: return Russian->setText(shown);
    case ControlText::English: return English->setText(shown);
    case ControlText::Label3Left: return Label3[3]->setText(shown);
    case ControlText::Label3Top: return Label3[0]->setText(shown);
    case ControlText::Label3Right: return Label3[1]->setText(shown);
    case ControlText::Label2: return Label2->setText(shown);
    case ControlText::Label3Size: return Label3[2]->setText(shown);
    case ControlText::Label3Space: return Label3[4]->setText(shown);
    case ControlText::Command1: return Command1->setText(shown);
    case ControlText::err: return err->setText(shown);
    }
}

void Form1::CheckLanguage(editor::Language language) {
    (language == editor::Language::English ? English : Russian)->setChecked(true);
}

void Form1::SetSelectorMaximum(std::int32_t maximum) {
    // A maximum below the minimum would drag Qt's minimum down with it.
    scr->setMaximum(std::max(maximum, 0));
}

std::int32_t Form1::SelectorValue() const { return scr->value(); }

void Form1::SetSelectorValue(std::int32_t value) { scr->setValue(value); }

bool Form1::LeftButtonDown() const { return QGuiApplication::mouseButtons() & Qt::LeftButton; }

void Form1::ShowTexture(const picture::Image& texture) {
    Picture1->SetPicture(PixelsOf(texture).convertToFormat(QImage::Format_ARGB32));  // a copy of its own
}

void Form1::ClearDrawing() { Picture1->Cls(); }

void Form1::SetPixel(std::int32_t x, std::int32_t y, picture::Rgba colour) {
    Picture1->PSet(x, y, QColor(colour.r, colour.g, colour.b, colour.a));
}

std::optional<std::filesystem::path> Form1::ChooseExistingFile(const std::string& title, const std::string& filter,
                                                               const std::filesystem::path& folder,
                                                               const std::filesystem::path& lastFile) {
    // Over the dialog that asked, when one did ("…" of the draw dialog), so that it opens on top of it.
    QWidget* owner = QApplication::activeModalWidget() ? QApplication::activeModalWidget() : this;
    const QString chosen = prompts_.ChooseExistingFile(owner, Utf8(title), Utf8(filter), PathText(folder), PathText(lastFile));
    if (chosen.isEmpty()) return std::nullopt;
    return NativePath(chosen);
}

void Form1::Exclaim(const std::string& prompt, const std::string& title) {
    prompts_.Exclaim(this, Utf8(prompt), Utf8(title));
}

void Form1::Inform(const std::string& prompt, const std::string& title) { prompts_.Inform(this, Utf8(prompt), Utf8(title)); }

QTimer& Form1::TimerFor(editor::Timer timer) {
    return timer == editor::Timer::Message ? messageTimer_ : textureSettledTimer_;
}

std::optional<editor::RenderValues> Form1::AskRenderValues(const editor::RenderDialogTexts& texts,
                                                          const editor::RenderValues& values) {
    RenderDialog dialog(*editor_, texts, values, this);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.Values();
}

void Form1::StartTimer(editor::Timer timer, int milliseconds) { TimerFor(timer).start(milliseconds); }

void Form1::StopTimer(editor::Timer timer) { TimerFor(timer).stop(); }

void Form1::WatchFile(const std::filesystem::path& path) {
    StopWatching();
    // Image editors often save by writing a new file and renaming it over the old one: the
    // folder is watched too, and the file afresh after each change.
    watchedFile_ = QFileInfo(PathText(path)).absoluteFilePath();
    watcher_.addPath(QFileInfo(watchedFile_).absolutePath());
    if (QFileInfo::exists(watchedFile_)) watcher_.addPath(watchedFile_);
}

void Form1::StopWatching() {
    if (!watcher_.files().isEmpty()) watcher_.removePaths(watcher_.files());
    if (!watcher_.directories().isEmpty()) watcher_.removePaths(watcher_.directories());
    watchedFile_.clear();
}

void Form1::SetCursor(editor::Surface surface, editor::Cursor cursor) {
    QWidget* widget = surface == editor::Surface::Picture1 ? static_cast<QWidget*>(Picture1) : magnifier_;
    switch (cursor) {
    case editor::Cursor::Arrow: return widget->unsetCursor();
    case editor::Cursor::SizeAcross: return widget->setCursor(Qt::SizeHorCursor);
    case editor::Cursor::SizeUpDown: return widget->setCursor(Qt::SizeVerCursor);
    case editor::Cursor::SizeAll: return widget->setCursor(Qt::SizeAllCursor);
    }
}

void Form1::ShowMagnifier(bool shown) {
    MagnifierItem->setChecked(shown);
    if (shown) magnifier_->ShowBesideOwner();
    else magnifier_->hide();
}

void Form1::RedrawMagnifier() { magnifier_->update(); }

void Form1::OnWatchedPathChanged() {
    if (watchedFile_.isEmpty()) return;
    // A file renamed over the old one is a new file to the system.
    if (!watcher_.files().contains(watchedFile_) && QFileInfo::exists(watchedFile_)) watcher_.addPath(watchedFile_);
    editor_->OnWatchedFileChanged();
}

}  // namespace ui
