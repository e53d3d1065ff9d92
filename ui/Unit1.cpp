#include "Unit1.h"

#include "AssetPaths.h"
#include "FigurePicture.h"
#include "Collections.h"
#include "MessageBoxes.h"
#include "PictureBox.h"
#include "QuoteCommands.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDialog>
#include <QFontMetrics>
#include <QFrame>
#include <QImage>
#include <QImageReader>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <QTimer>


namespace {

QString Qs(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The hidden source pictures of the twelve pieces, by component name.
struct SourceName {
    const char* code;
    const char* component;
};
constexpr SourceName kSourceNames[] = {
    {"wp", "Image4"},  {"wn", "Image13"}, {"wb", "Image6"}, {"wr", "Image10"}, {"wq", "Image9"}, {"wk", "Image3"},
    {"bp", "Image5"},  {"bn", "Image12"}, {"bb", "Image7"}, {"br", "Image11"}, {"bq", "Image8"}, {"bk", "Image2"},
};

// One of the program's own bitmaps, read as BMP. Given only the file name,
// Qt would first load every image format plugin it has to ask each whether
// it reads the file.
QImage ReadBitmap(const char* path)
{
    QImageReader reader(QString::fromUtf8(path), "bmp");
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, int left, int top)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->move(left, top);
    label->adjustSize();
    return label;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& text, int left, int top)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(left, top, 196, 25);
    return button;
}

} // namespace

TForm1::TForm1(MessageBoxes& boxes, RandomSource& random, TaskLoader loadTask, QWidget* parent)
    : QMainWindow(parent),
      m_boxes(boxes),
      m_random(random),
      m_run(*this, *this, [this] { return BoardGeometry{Image1->x(), Image1->y(), Image1->width()}; }, random,
            std::move(loadTask))
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Tresolvin"));
    // System menu and minimise only: no maximise, and the size is fixed.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    BuildLayout();
    BuildMenu();
    LoadArtwork();
    move(275, 115);
    FormCreate();
}

TForm1::~TForm1()
{
    // Every figure goes with its picture; the pictures are children of the
    // board area and would go with it anyway, but the board must not keep
    // pointers to them.
    m_run.Board().ClearFigures();
}

// ------------------------------------------------------------------ layout

void TForm1::BuildLayout()
{
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("ClientArea"));
    client->setFixedSize(672, 454);
    setCentralWidget(client);

    ScrollBox1 = new QWidget(client);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setGeometry(0, 0, 457, 454);
    ScrollBox1->setAutoFillBackground(true);
    QPalette white = ScrollBox1->palette();
    white.setColor(QPalette::Window, Qt::white);
    ScrollBox1->setPalette(white);

    Image1 = new PictureBox(ScrollBox1);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->move(32, 32);

    Image14 = new PictureBox(client, false);
    Image14->setObjectName(QStringLiteral("Image14"));
    Image14->setGeometry(0, 0, 17, 25);
    Image14->hide();

    for (const SourceName& source : kSourceNames) {
        auto* picture = new PictureBox(client);
        picture->setObjectName(QLatin1String(source.component));
        picture->hide();
        m_sources.emplace(source.code, picture);
    }

    RichEdit1 = new QTextEdit(client);
    RichEdit1->setObjectName(QStringLiteral("RichEdit1"));
    RichEdit1->setGeometry(463, 0, 201, 289);
    RichEdit1->setAcceptRichText(false);
    RichEdit1->setPlainText(QStringLiteral("Tresolvin Версия 1.2"));

    Label2 = MakeLabel(client, "Label2", QStringLiteral("Время на ход"), 520, 300);
    QFont underlined = Label2->font();
    underlined.setUnderline(true);
    Label2->setFont(underlined);
    Label2->adjustSize();

    Bevel1 = new QFrame(client);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setGeometry(488, 318, 162, 24);
    Bevel1->setFrameStyle(QFrame::Panel | QFrame::Raised);

    // Courier: where the classic face is missing, its metric clone from the
    // URW base fonts, before any other monospaced face.
    QFont digits;
    digits.setFamilies({QStringLiteral("Courier New"), QStringLiteral("Nimbus Mono PS"), QStringLiteral("Courier")});
    digits.setStyleHint(QFont::TypeWriter);
    digits.setFixedPitch(true);
    digits.setBold(true);
    digits.setPixelSize(24);

    // The layout puts the digits' tops at 320 and 321 for a face whose ascent
    // is 20 pixels at this size; a face with another ascent is moved so that
    // its baseline stays where the layout wants it, inside the frame.
    const int ascent = QFontMetrics(digits).ascent();

    Label3 = MakeLabel(client, "Label3", QStringLiteral("мин"), 499, 324);
    Label1 = MakeLabel(client, "Label1", QStringLiteral("2"), 0, 0);
    Label1->setFont(digits);
    Label1->move(531, 320 + 20 - ascent);
    Label4 = MakeLabel(client, "Label4", QStringLiteral("сек"), 572, 324);
    Label5 = MakeLabel(client, "Label5", QStringLiteral("60"), 0, 0);
    Label5->setFont(digits);
    Label5->move(603, 321 + 20 - ascent);
    // The digits stand on the frame's bevel; keep the frame below them.
    Bevel1->lower();

    Button2 = MakeButton(client, "Button2", QStringLiteral("Задание"), 466, 351);
    Button3 = MakeButton(client, "Button3", QStringLiteral("Попробовать еще раз"), 466, 384);
    Button1 = MakeButton(client, "Button1", QStringLiteral("Разыграть вариант"), 466, 422);
    connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
    connect(Button3, &QPushButton::clicked, this, [this] { Button3Click(); });
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(2000);
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });

    Timer2 = new QTimer(this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    Timer2->setInterval(kClockIntervalMs);
    connect(Timer2, &QTimer::timeout, this, [this] { Timer2Timer(); });

    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void TForm1::BuildMenu()
{
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));

    auto addMenu = [bar](const char* name, const QString& text) {
        QMenu* menu = bar->addMenu(text);
        menu->setObjectName(QLatin1String(name));
        menu->menuAction()->setObjectName(QLatin1String(name));
        return menu;
    };
    auto addItem = [this](QWidget* owner, const char* name, const QString& text, void (TForm1::*handler)()) {
        auto* action = new QAction(text, owner);
        action->setObjectName(QLatin1String(name));
        owner->addAction(action);
        connect(action, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
        return action;
    };

    N1 = addMenu("N1", QStringLiteral("Опции"));
    N9 = addItem(N1, "N9", QStringLiteral("Опции"), &TForm1::N9Click);
    N10 = addItem(N1, "N10", QStringLiteral("База"), &TForm1::N10Click);

    N5 = addItem(bar, "N5", QStringLiteral("Результаты"), &TForm1::N5Click);

    N6 = addMenu("N6", QStringLiteral("Интересное"));
    N7 = addItem(N6, "N7", QStringLiteral("Шахматные цитаты"), &TForm1::N7Click);
    N8 = addItem(N6, "N8", QStringLiteral("Шахматная цитата от Гулмара"), &TForm1::N8Click);
    N11 = addItem(N6, "N11", QStringLiteral("Шахматные ссылки"), &TForm1::N11Click);

    N2 = addMenu("N2", QStringLiteral("Выход"));
    connect(N2->menuAction(), &QAction::triggered, this, [this] { N2Click(); });
    N3 = addItem(N2, "N3", QStringLiteral("О программе"), &TForm1::N3Click);
    N4 = addItem(N2, "N4", QStringLiteral("Выход"), &TForm1::N4Click);
}

void TForm1::LoadArtwork()
{
    // A display with device pixel ratio 2 gets the bitmaps drawn at twice the
    // size, laid out with the 1x geometry.
    const bool doubled = devicePixelRatioF() >= 1.5;
    const qreal ratio = doubled ? 2.0 : 1.0;

    QPixmap board = QPixmap::fromImage(ReadBitmap(doubled ? AssetPaths::kBoard2x : AssetPaths::kBoard));
    board.setDevicePixelRatio(ratio);
    Image1->setPixmap(board);

    for (const auto& [code, picture] : m_sources) {
        const char* path = doubled ? AssetPaths::Piece2x(code) : AssetPaths::Piece(code);
        picture->setPixmap(TransparentByBottomLeft(ReadBitmap(path), ratio));
    }
}

PictureBox* TForm1::SourcePicture(std::string_view code) const
{
    const auto it = m_sources.find(code);
    return it == m_sources.end() ? nullptr : it->second;
}

Picture* TForm1::CreatePicture(const std::string& code)
{
    PictureBox* source = SourcePicture(code);
    if (source == nullptr)
        return nullptr;
    auto* figure = new FigurePicture(source->pixmap(), ScrollBox1);
    figure->setObjectName(QStringLiteral("Figure_") + Qs(code));
    connect(figure, &FigurePicture::MouseDown, this,
            [this](FigurePicture* sender, Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y) {
                FigureMouseDown(sender, button, shift, x, y);
            });
    connect(figure, &FigurePicture::MouseMove, this,
            [this](FigurePicture* sender, Qt::KeyboardModifiers shift, int x, int y) {
                FigureMouseMove(sender, shift, x, y);
            });
    connect(figure, &FigurePicture::MouseUp, this,
            [this](FigurePicture* sender, Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y) {
                FigureMouseUp(sender, button, shift, x, y);
            });
    // A new child lies above its older siblings: above the board picture and
    // every figure created before it.
    figure->show();
    figure->raise();
    return figure;
}

void TForm1::AttachWindows(QDialog* options, QDialog* base, QDialog* about, QDialog* links)
{
    m_options = options;
    m_base = base;
    m_about = about;
    m_links = links;
}

// ---------------------------------------------------- the training view

void TForm1::FormCreate()
{
    m_run.FormCreate();
    Image14->setPixmap(Image1->pixmap());
}

void TForm1::Notice(const std::string& text)
{
    m_boxes.Notice(text);
}

void TForm1::Error(const std::string& text)
{
    m_boxes.Error(text);
}

void TForm1::ShowCaption(const std::string& caption)
{
    setWindowTitle(Qs(caption));
}

void TForm1::BaseChanged(int32_t base)
{
    ShowCaption(CaptionForBase(base));
}

void TForm1::ClearText()
{
    RichEdit1->clear();
    m_paneLines = 0;
}

void TForm1::AppendText(const std::string& line)
{
    // Appended as plain text at the end, whatever it looks like: a header
    // with angle brackets must not be taken for markup.
    QTextCursor cursor(RichEdit1->document());
    cursor.movePosition(QTextCursor::End);
    if (m_paneLines > 0)
        cursor.insertBlock();
    cursor.insertText(Qs(line));
    ++m_paneLines;
}

QStringList TForm1::TextPaneLines() const
{
    QStringList lines;
    for (QTextBlock block = RichEdit1->document()->begin(); block.isValid(); block = block.next())
        lines << block.text();
    return lines;
}

void TForm1::ShowClock(ClockDisplay display)
{
    Label1->setText(QString::number(display.Minutes));
    Label1->adjustSize();
    Label5->setText(QString::number(display.Seconds));
    Label5->adjustSize();
}

void TForm1::RunClock(bool running)
{
    if (running)
        Timer2->start();
    else
        Timer2->stop();
}

void TForm1::RunPlayback(int intervalMs)
{
    if (intervalMs > 0)
        Timer1->start(intervalMs);
    else
        Timer1->stop();
}

void TForm1::ShowBoardPicture(const std::optional<MoveLine>& line)
{
    QPixmap picture = Image14->pixmap();
    if (line) {
        QPainter painter(&picture);
        painter.setPen(QPen(QColor(255, 0, 0), 4));
        painter.drawLine(line->X1, line->Y1, line->X2, line->Y2);
    }
    Image1->setPixmap(picture);
}

void TForm1::EnableBoardPicture(bool enabled)
{
    Image1->setEnabled(enabled);
}

// ---------------------------------------------------------------- dragging

void TForm1::FigureMouseDown(Picture* sender, Qt::MouseButton, Qt::KeyboardModifiers, int x, int y)
{
    m_run.FigureMouseDown(*sender, x, y);
}

void TForm1::FigureMouseMove(Picture* sender, Qt::KeyboardModifiers, int x, int y)
{
    m_run.FigureMouseMove(*sender, x, y);
}

void TForm1::FigureMouseUp(Picture* sender, Qt::MouseButton, Qt::KeyboardModifiers, int, int)
{
    m_run.FigureMouseUp(*sender);
}

// -------------------------------------------------------------------- menu

void TForm1::N5Click()
{
    m_run.N5Click();
}

void TForm1::N2Click()
{
}

void TForm1::N4Click()
{
    QCoreApplication::quit();
}

void TForm1::N9Click()
{
    if (m_options)
        m_options->exec();
}

void TForm1::N10Click()
{
    if (m_base)
        m_base->exec();
}

void TForm1::N7Click()
{
    ShowChessQuote(m_random, m_boxes);
}

void TForm1::N8Click()
{
    ShowGulmarComment(m_random, m_boxes);
}

void TForm1::N11Click()
{
    if (m_links)
        m_links->exec();
}

void TForm1::N3Click()
{
    if (m_about)
        m_about->exec();
}

void TForm1::closeEvent(QCloseEvent* event)
{
    // Closing the main window ends the program, although the (hidden) splash
    // window was the first one created.
    event->accept();
    QCoreApplication::quit();
}
