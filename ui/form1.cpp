#include "ui/form1.h"

#include <QAction>
#include <QEvent>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <optional>
#include <utility>

#include "font/geometry.h"
#include "font/texture.h"
#include "runtime/binary_file.h"
#include "runtime/checked.h"
#include "runtime/conversions.h"
#include "ui/help_text.h"
#include "ui/picture_box.h"
#include "ui/pictures.h"

namespace ui {
namespace {

constexpr std::int32_t kTextureSize = PictureBox::kSize;
static_assert(kTextureSize == font::kTextureSize);

constexpr double kTwipsPerPixel = 15;
const QColor kGroupBackground(0xE0, 0xE0, 0xE0);
const QColor kOutlineColour(255, 0, 0);

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

// The name as the system spells it: wide on Windows, the local encoding elsewhere, never lossy.
std::filesystem::path NativePath(const QString& path) {
#if defined(Q_OS_WIN)
    return std::filesystem::path(path.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(path).toStdString());
#endif
}

}  // namespace

Form1::Form1(Prompts& prompts, char decimalSeparator, QWidget* parent)
    : QMainWindow(parent), prompts_(prompts), decimalSeparator_(decimalSeparator) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Runeplot 1.1"));
    setWindowIcon(QIcon(QPixmap::fromImage(IconImage())));
    setFont(SansFont(8.25, false));
    BuildControls();
    StartUp();
    connect(&pictureWatcher_, &TextureWatcher::settled, this, &Form1::ShowPictureAgain);
}

void Form1::BuildControls() {
    opp = menuBar()->addAction(QStringLiteral("Открыть"));
    opp->setObjectName(QStringLiteral("opp"));
    connect(opp, &QAction::triggered, this, &Form1::OpenCommand);

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
    err = Label(Picture1, "err", QStringLiteral("Ошибка.Недопустимая ширина буквы."),
                Twips(720, 2880, 6255, 1215), Qt::AlignHCenter);
    err->setAutoFillBackground(true);
    SetColour(err, QPalette::Window, Qt::black);
    SetColour(err, QPalette::WindowText, QColor(0xFF, 0, 0));
    err->setFont(SansFont(24, true));
    err->setWordWrap(true);
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
    connect(scr, &QScrollBar::valueChanged, this, &Form1::OnSelectorChanged);

    // The glyph's edges. Frame2 is drawn over Frame3 where they overlap.
    Frame2 = Group(client, "Frame2", Twips(7940, 1120, 3735, 2055));
    const auto right = Qt::AlignRight;
    Label3[3] = IndexedLabel(Frame2, 3, QStringLiteral("Левая граница области буквы"), Twips(120, 480, 2415, 255), right);
    Text1 = EditBox(Frame2, "Text1", Twips(2640, 360, 735, 405), true);
    Command5 = ArrowButton(Frame2, "Command5", Twips(3360, 360, 255, 190), UpArrow());
    Command4 = ArrowButton(Frame2, "Command4", Twips(3360, 570, 255, 190), DownArrow());
    Label3[0] = IndexedLabel(Frame2, 0, QStringLiteral("Положение буквы по вертикали"), Twips(0, 885, 2535, 255), right);
    Text2 = EditBox(Frame2, "Text2", Twips(2640, 840, 735, 405), true);
    Command7 = ArrowButton(Frame2, "Command7", Twips(3360, 840, 255, 190), UpArrow());
    Command6 = ArrowButton(Frame2, "Command6", Twips(3360, 1050, 255, 190), DownArrow());
    Label3[1] = IndexedLabel(Frame2, 1, QStringLiteral("Правая граница области буквы"), Twips(0, 1320, 2535, 255), right);
    Text3 = EditBox(Frame2, "Text3", Twips(2640, 1320, 735, 405), true);
    Command2 = ArrowButton(Frame2, "Command2", Twips(3360, 1320, 255, 190), UpArrow());
    Command3 = ArrowButton(Frame2, "Command3", Twips(3360, 1530, 255, 190), DownArrow());
    connect(Command5, &QPushButton::clicked, this, [this] { NudgeEdge(Text1, +1, true); });
    connect(Command4, &QPushButton::clicked, this, [this] { NudgeEdge(Text1, -1, false); });
    connect(Command7, &QPushButton::clicked, this, [this] { NudgeEdge(Text2, +1, true); });
    connect(Command6, &QPushButton::clicked, this, [this] { NudgeEdge(Text2, -1, false); });
    connect(Command2, &QPushButton::clicked, this, [this] { NudgeEdge(Text3, +1, false); });
    connect(Command3, &QPushButton::clicked, this, [this] { NudgeEdge(Text3, -1, false); });

    // The font parameters.
    Frame4 = Group(client, "Frame4", Twips(7940, 3090, 3720, 1455));
    Label2 = Label(Frame4, "Label2", QStringLiteral("Дополнительные параметры"), Twips(720, 120, 2535, 255), Qt::AlignLeft);
    SetColour(Label2, QPalette::WindowText, QColor(0x80, 0, 0));
    Label3[2] = IndexedLabel(Frame4, 2, QStringLiteral("Размер шрифта"), Twips(0, 600, 1335, 255), right);
    Text4 = EditBox(Frame4, "Text4", Twips(1560, 480, 855, 405), false);
    Label3[4] = IndexedLabel(Frame4, 4, QStringLiteral("Ширина пробелов"), Twips(-120, 1080, 1575, 255), right);
    Text5 = EditBox(Frame4, "Text5", Twips(1560, 960, 855, 405), false);
    Command1 = Place(new QPushButton(QStringLiteral("Сохранить"), Frame4), "Command1", Twips(2520, 480, 1095, 855));
    Command1->setFont(SansFont(8.25, true));
    Command1->setStyleSheet(QStringLiteral("QPushButton { background-color: #80FF80; }"));
    connect(Command1, &QPushButton::clicked, this, &Form1::SaveFontParameters);

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

void Form1::StartUp() {
    StopFollowingPicture();  // no picture shown, none followed
    Frame4->setEnabled(false);
    Frame2->setEnabled(false);
    scr->setEnabled(false);
    Shape1->show();
    Picture1->hide();
    Label1->setText(QString());
    info->setPlainText(HelpText());
}

void Form1::OpenCommand() {
    // Stage 1: any failure leaves the window as it was.
    CommonDialog1.DialogTitle = QStringLiteral("Загрузить файл *.gmf");
    CommonDialog1.Filter = QStringLiteral(".gmf|*.gmf");
    if (!CommonDialog1.ShowOpen(prompts_, this)) return;
    OpenChosenFont(QString());
}

void Form1::OpenFromCommandLine(const QString& fontPath, const QString& picturePath) {
    const QFileInfo font(fontPath);
    if (!font.isFile() || !font.isReadable()) {
        prompts_.Exclaim(this, FontNotFoundMessage(font.absoluteFilePath()), kErrorTitle);
        return;
    }
    CommonDialog1.Take(fontPath);
    QString picture = picturePath;
    if (picture.isEmpty()) {
        const QString beside = QString::fromStdU16String(font::DefaultPicturePath(NativePath(font.absoluteFilePath())).u16string());
        if (QFileInfo::exists(beside)) picture = beside;
    }
    OpenChosenFont(picture);
}

// The open command from the chosen font on; the picture dialog asks unless a picture is given.
void Form1::OpenChosenFont(const QString& picturePath) {
    const QString name = CommonDialog1.FileTitle;
    if (name.size() < 4) return;
    const QString baseName = name.left(name.size() - 4);  // whatever the last four characters are

    // Stage 2: any failure goes back to the start-up state, without a message.
    StopFollowingPicture();
    try {
        const QString pictureName = baseName + QStringLiteral(".bmp");
        CommonDialog2.DialogTitle = QStringLiteral("Загрузить файл ") + pictureName;
        CommonDialog2.Filter = pictureName + QLatin1Char('|') + pictureName;
        if (!picturePath.isEmpty()) {
            CommonDialog2.Take(picturePath);
        } else if (!CommonDialog2.ShowOpen(prompts_, this)) {
            StartUp();
            return;
        }
        const QString chosenPicture = CommonDialog2.FileName;

        if (!font::ReadBmpSize(NativePath(chosenPicture)).IsTextureSize()) {
            prompts_.Exclaim(this, kPictureSizeMessage, kErrorTitle);
            Picture1->hide();
            Shape1->show();
            scr->setEnabled(false);
            return;
        }

        QImage texture;
        if (!texture.load(chosenPicture)) {
            throw runtime::Failure(runtime::FailureKind::ReadFailed,
                                   "cannot decode the picture " + chosenPicture.toStdString());
        }
        Picture1->SetPicture(texture);
        Picture1->show();
        Shape1->hide();
        scr->setEnabled(true);
        Frame4->setEnabled(true);
        Frame2->setEnabled(true);
        Label4->setText(chosenPicture);
        Label5->setText(CommonDialog1.FileName);
        LoadFont();
        picturePath_ = chosenPicture;
        pictureWatcher_.Watch(chosenPicture);
    } catch (const runtime::Failure&) {
        StartUp();
    }
}

void Form1::ShowPictureAgain() {
    // The outline lies on a layer of its own over the picture: only the picture changes, and
    // the font is neither read nor written.
    std::optional<TextureTrouble> trouble;
    QImage texture;
    try {
        if (!font::ReadBmpSize(NativePath(picturePath_)).IsTextureSize()) trouble = TextureTrouble::WrongSize;
        else if (!font::IsWholeBmp(NativePath(picturePath_)) || !texture.load(picturePath_) ||
                 texture.size() != QSize(kTextureSize, kTextureSize)) trouble = TextureTrouble::NotDecodable;
    } catch (const runtime::Failure&) {
        trouble = TextureTrouble::Missing;
    }
    if (!trouble) {
        Picture1->SetPicture(texture);
        pictureTroubleShown_ = false;
        return;
    }
    if (pictureTroubleShown_) return;
    pictureTroubleShown_ = true;
    prompts_.Exclaim(this, TextureTroubleMessage(*trouble, picturePath_), kErrorTitle);
}

void Form1::StopFollowingPicture() {
    pictureWatcher_.Stop();
    picturePath_.clear();
    pictureTroubleShown_ = false;
}

void Form1::LoadFont() {
    fontPath_ = CommonDialog1.FileName;
    font::LoadFont(NativePath(fontPath_), font_,
                   {
                       .SetSelectorRange = [this] { SetSelectorRange(); },
                       .ShowHeader = [this] { ShowFontParameters(); },
                       .RefreshView = [this] { RefreshGlyphView(); },
                   });
}

void Form1::SetSelectorRange() {
    // The maximum is GlyphCount - 1, but a maximum below the minimum would drag Qt's minimum
    // down with it: a font without glyphs keeps 0..0, and the view says there is no glyph.
    // Lowering the maximum may lower the value, which refreshes the view.
    loading_ = true;
    scr->setMaximum(std::max(font_.GlyphCount - 1, 0));
    loading_ = false;
    if (loadFailure_) std::rethrow_exception(std::exchange(loadFailure_, nullptr));
}

void Form1::ShowFontParameters() {
    Text4->setText(QString::fromStdString(font::FontSizeToText(font_.FontSize, decimalSeparator_)));
    Text5->setText(QString::fromStdString(font::ToEditText(font_.SpaceWidth, decimalSeparator_)));
}

void Form1::RefreshGlyphView() {
    if (font_.GlyphCount == 0) {
        SetGlyphShown(false);
        ShowNoGlyph();
        return;
    }
    // The arrows are left alone while the refresh runs, so that a clicked arrow keeps the focus;
    // they are disabled as soon as it fails.
    try {
        ShowSelectedGlyph();
    } catch (const runtime::Failure&) {
        SetGlyphShown(false);
        throw;
    }
    SetGlyphShown(true);
}

void Form1::ShowSelectedGlyph() {
    {
        runtime::BinaryFile file = runtime::BinaryFile::Open(NativePath(fontPath_));
        font::ReadGlyphRecord(file, font_, static_cast<std::int16_t>(scr->value()));
        Picture1->Cls();
        const font::GlyphRecord& glyph = font_.CurrentGlyph;
        x0_ = font::ToPreviewPixel(glyph.Left);
        y0_ = font::ToPreviewPixel(glyph.Top);
        x1_ = font::ToPreviewPixel(glyph.Right);
        Text1->setText(QString::fromStdString(font::ToEditText(glyph.Left, decimalSeparator_)));
        Text2->setText(QString::fromStdString(font::ToEditText(glyph.Top, decimalSeparator_)));
        Text3->setText(QString::fromStdString(font::ToEditText(glyph.Right, decimalSeparator_)));
        DrawOutline();
        const std::int16_t number = runtime::CheckedAdd16(static_cast<std::int16_t>(scr->value()), 1);
        Label1->setText(QStringLiteral("Символ № ") + QString::number(number));
    }
    ShowWidthWarning();
}

void Form1::ShowNoGlyph() {
    Picture1->Cls();
    Text1->clear();
    Text2->clear();
    Text3->clear();
    Label1->setText(QStringLiteral("Символов нет"));
    err->hide();
}

void Form1::DrawOutline() {
    const font::OutlinePlan outline = font::PlanOutline(x0_, y0_, x1_, font_.CellHeight, kTextureSize);
    font::ForEachOutlinePixel(outline, [this](std::int32_t x, std::int32_t y) { Picture1->PSet(x, y, kOutlineColour); });
}

void Form1::ShowWidthWarning() {
    // The boxes are read with the parse of the stored values: Val would drop the fraction
    // of a comma locale and miss a glyph from 12,5 to 16,25. A box that is no number warns of nothing.
    try {
        const double right = runtime::TextToDouble(Text3->text().toStdString(), decimalSeparator_);
        const double left = runtime::TextToDouble(Text1->text().toStdString(), decimalSeparator_);
        err->setVisible(right - 4 < left);
    } catch (const runtime::Failure&) {
        err->setVisible(false);
    }
}

void Form1::OnSelectorChanged() {
    try {
        RefreshGlyphView();
    } catch (const runtime::Failure& failure) {
        if (loading_) {
            loadFailure_ = std::current_exception();
            return;
        }
        ReportAfterEvent(FailureMessage(Action::ShowGlyph, failure, fontPath_));
    }
}

void Form1::NudgeEdge(QLineEdit* box, int step, bool guarded) {
    try {
        const std::string text = box->text().toStdString();
        if (guarded && runtime::Val(text) >= 256) return;  // silently, as the arrow always did
        const double edge = runtime::TextToDouble(text, decimalSeparator_) + step;
        box->setText(QString::fromStdString(runtime::DoubleToText(edge, decimalSeparator_)));
    } catch (const runtime::Failure& failure) {
        ShowFailure(Action::StoreGlyph, failure);
        return;
    }
    StoreGlyph();
}

void Form1::StoreGlyph() {
    try {
        font::StoreGlyph(NativePath(fontPath_), font_,
                         {Text1->text().toStdString(), Text2->text().toStdString(), Text3->text().toStdString()},
                         decimalSeparator_, [this] { return static_cast<std::int16_t>(scr->value()); });
    } catch (const runtime::Failure& failure) {
        ShowFailure(Action::StoreGlyph, failure);
        return;
    }
    try {
        RefreshGlyphView();  // shows the glyph as read back from the file
    } catch (const runtime::Failure& failure) {
        ShowFailure(Action::ShowGlyph, failure);
    }
}

void Form1::SaveFontParameters() {
    try {
        NormaliseDecimalPoint(Text4);
        NormaliseDecimalPoint(Text5);
        font::SaveHeader(NativePath(fontPath_), font_, Text4->text().toStdString(),
                         Text5->text().toStdString(), decimalSeparator_);
    } catch (const runtime::Failure& failure) {
        ShowFailure(Action::SaveFontParameters, failure);
    }
}

void Form1::NormaliseDecimalPoint(QLineEdit* box) {
    const QString text = box->text();
    // The point scan has always stopped short of 255 characters.
    if (text.size() >= 255) {
        throw runtime::Failure(runtime::FailureKind::TextTooLong,
                               "a text of " + std::to_string(text.size()) + " characters");
    }
    if (!text.contains(QLatin1Char('.'))) return;
    // The locale's own separator, so that in a point locale 12.5 stays 12.5.
    QString replaced = text;
    replaced.replace(QLatin1Char('.'), QLatin1Char(decimalSeparator_));
    box->setText(QString::fromStdString(runtime::Trim(replaced.toStdString())));
}

void Form1::SetGlyphShown(bool shown) {
    for (QPushButton* arrow : {Command2, Command3, Command4, Command5, Command6, Command7}) {
        arrow->setEnabled(shown);
    }
}

void Form1::ShowFailure(Action action, const runtime::Failure& failure) {
    prompts_.Exclaim(this, FailureMessage(action, failure, fontPath_), kErrorTitle);
}

void Form1::ReportAfterEvent(const QString& message) {
    // A modal box opened while the mouse button is down on a scroll bar arrow leaves the
    // scroll bar stepping on by itself: wait for the release.
    // A release that never reached the selector must not hold a message back for good.
    if (!(QGuiApplication::mouseButtons() & Qt::LeftButton)) selectorPressed_ = false;
    if (selectorPressed_) {
        pendingMessage_ = message;
        return;
    }
    QTimer::singleShot(0, this, [this, message] { prompts_.Exclaim(this, message, kErrorTitle); });
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    // Only the left button steps the selector; no other holds a message back.
    const auto leftButton = [event] { return static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton; };
    if (watched == scr && event->type() == QEvent::MouseButtonPress && leftButton()) selectorPressed_ = true;
    if (watched == scr && event->type() == QEvent::MouseButtonRelease && leftButton()) {
        selectorPressed_ = false;
        if (!pendingMessage_.isEmpty()) ReportAfterEvent(std::exchange(pendingMessage_, QString()));
    }
    return QMainWindow::eventFilter(watched, event);
}

}  // namespace ui
