#include "Unit1.h"

#include "AssetPaths.h"
#include "FigurePicture.h"
#include "MessageBoxes.h"
#include "Notation.h"
#include "PictureBox.h"
#include "QuoteCommands.h"
#include "RandomSource.h"
#include "Settings.h"
#include "SolutionCheck.h"
#include "TaskDraw.h"
#include "Verdict.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDialog>
#include <QFontMetrics>
#include <QFrame>
#include <QImage>
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

#include <exception>

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
      m_board(std::make_unique<ChessBoard>(
          static_cast<PictureFactory&>(*this), [this] { return BoardGeometry{Image1->x(), Image1->y(), Image1->width()}; })),
      FromRow(m_board->FromRow),
      FromCol(m_board->FromCol),
      LastMoveText(m_board->LastMoveText),
      WhiteToMove(m_board->WhiteToMove),
      m_boxes(boxes),
      m_random(random),
      m_loadTask(std::move(loadTask))
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
    m_board->ClearFigures();
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
    const int baselineShift = 20 - QFontMetrics(digits).ascent();

    Label3 = MakeLabel(client, "Label3", QStringLiteral("мин"), 499, 324);
    Label1 = MakeLabel(client, "Label1", QStringLiteral("2"), 531, 320 + baselineShift);
    Label1->setFont(digits);
    Label4 = MakeLabel(client, "Label4", QStringLiteral("сек"), 572, 324);
    Label5 = MakeLabel(client, "Label5", QStringLiteral("60"), 603, 321 + baselineShift);
    Label5->setFont(digits);
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

    QPixmap board(QString::fromUtf8(doubled ? AssetPaths::kBoard2x : AssetPaths::kBoard));
    board.setDevicePixelRatio(ratio);
    Image1->setPixmap(board);

    for (const auto& [code, picture] : m_sources) {
        const char* path = doubled ? AssetPaths::Piece2x(code) : AssetPaths::Piece(code);
        picture->setPixmap(TransparentByBottomLeft(QImage(QString::fromUtf8(path)), ratio));
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

// -------------------------------------------------------------- text pane

void TForm1::ClearTextPane()
{
    RichEdit1->clear();
    m_paneLines = 0;
}

void TForm1::AppendLine(const std::string& line)
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

// ------------------------------------------------------------------ clock

void TForm1::ShowClock(ClockDisplay display)
{
    Label1->setText(QString::number(display.Minutes));
    Label1->adjustSize();
    Label5->setText(QString::number(display.Seconds));
    Label5->adjustSize();
}

void TForm1::SetClockDisplay(int32_t seconds)
{
    ShowClock(FullTime(seconds));
}

bool TForm1::ClockTick()
{
    // The display is the clock's state: read it back, count one second.
    ClockMinutes = Label1->text().toInt();
    ClockSeconds = Label5->text().toInt();
    const ClockStep step = CountDown({ClockMinutes, ClockSeconds});
    ClockMinutes = step.Display.Minutes;
    ClockSeconds = step.Display.Seconds;
    ShowClock(step.Display);
    if (!step.TimedOut)
        return false;

    // Stopped and counted before the message, which the timers run under.
    EndAttempt(false);
    m_boxes.Notice(this, QString::fromUtf8(kTimeOutText));
    return true;
}

void TForm1::Timer2Timer()
{
    ClockTick();
}

void TForm1::EndAttempt(bool solved)
{
    Timer2->stop();
    TaskOver = true;
    ++AttemptCount;
    if (solved)
        ++SolvedCount;
    // A figure still being dragged goes home; its release, if it comes, is
    // not judged.
    CancelDrag();
}

// ------------------------------------------------------------- the tasks

void TForm1::FormCreate()
{
    TaskOver = false;
    try {
        LoadSetting(SettingId::MoveTime);
        LoadSetting(SettingId::TaskBase);
        setWindowTitle(Qs(CaptionForBase(TaskBaseSetting)));
        SetClockDisplay(MoveTimeSetting);
    } catch (const std::exception&) {
        m_boxes.Error(this, QString::fromUtf8(kReadErrorText));
    }
    SolvedCount = 0;
    UsedTasks.clear();
    Image14->setPixmap(Image1->pixmap());
    CurrentTaskNumber = kNoTaskNumber;
}

bool TForm1::TakeTask(int32_t base, int32_t number, bool withHint)
{
    const std::optional<TaskRecord> record = m_loadTask(base, number);
    if (!record)
        return false;
    WhiteToMove = record->sideToMove == "w";
    TaskSolution = record->solution;
    TaskPosition = record->position;
    for (const std::string& line : TaskTextLines(*record, withHint))
        AppendLine(line);
    return true;
}

void TForm1::PlacePosition()
{
    m_board->PlacePosition(TaskPosition);
    Image1->setPixmap(Image14->pixmap());
}

void TForm1::Button2Click()
{
    TaskOver = false;
    CancelDrag();
    ClearTextPane();
    Image1->setEnabled(true);
    // A playback still running would go on moving figures of the new task.
    Timer1->stop();
    m_board->ClearFigures();
    m_random.Reseed();

    if (const std::optional<CollectionLimits> limits = CollectionOf(TaskBaseSetting)) {
        const int32_t base = TaskBaseSetting;
        const int32_t number = DrawTaskNumber(UsedTasks, *limits, m_random);
        CurrentTaskNumber = number;
        CurrentTaskBase = base;
        UsedTasks.push_back(number);
        // The hint follows the switch as it stood before this command reads
        // the settings file again below.
        TakeTask(base, number, HintSetting == 1);
    }

    SolutionPos = 1;
    Timer2->stop();
    LoadSetting(SettingId::MoveTime);
    LoadSetting(SettingId::MoveInterval);
    LoadSetting(SettingId::MoveLine);
    LoadSetting(SettingId::Hint);
    SetClockDisplay(MoveTimeSetting);
    Timer2->start(kClockIntervalMs);
    PlacePosition();
}

void TForm1::Button3Click()
{
    TaskOver = false;
    Image1->setEnabled(true);
    if (CurrentTaskNumber == kNoTaskNumber) {
        m_boxes.Notice(this, QString::fromUtf8(kNoTaskText));
        return;
    }
    CancelDrag();
    Timer1->stop();
    ClearTextPane();
    m_board->ClearFigures();
    m_random.Reseed();

    LoadSetting(SettingId::MoveLine);
    LoadSetting(SettingId::Hint);
    if (CollectionOf(CurrentTaskBase).has_value()) {
        UsedTasks.push_back(CurrentTaskNumber);
        TakeTask(CurrentTaskBase, CurrentTaskNumber, HintSetting == 1);
    }

    SolutionPos = 1;
    Timer2->stop();
    LoadSetting(SettingId::MoveTime);
    LoadSetting(SettingId::MoveInterval);
    SetClockDisplay(MoveTimeSetting);
    Timer2->start(kClockIntervalMs);
    PlacePosition();
}

void TForm1::Button1Click()
{
    TaskOver = true;
    if (CurrentTaskNumber == kNoTaskNumber) {
        m_boxes.Notice(this, QString::fromUtf8(kNoTaskText));
        return;
    }
    CancelDrag();
    ClearTextPane();
    m_board->ClearFigures();

    if (CollectionOf(CurrentTaskBase).has_value()) {
        UsedTasks.push_back(CurrentTaskNumber);
        TakeTask(CurrentTaskBase, CurrentTaskNumber, false);
    }

    SolutionPos = 1;
    Timer2->stop();
    SetClockDisplay(MoveTimeSetting);
    PlacePosition();
    StartPlayback();
}

void TForm1::StartPlayback()
{
    // (Re)started with the full interval, so the first move always comes one
    // interval after the click.
    Timer1->start(PlaybackIntervalMs(MoveIntervalSetting));
    SolutionPos = 1;
}

void TForm1::Timer1Timer()
{
    if (IsLastToken(TaskSolution, SolutionPos))
        Timer1->stop();
    const std::string token = TokenAt(TaskSolution, SolutionPos);
    // Advanced before any message: the timer keeps firing while one is open,
    // and those events must go on with the next token, not this one again.
    SolutionPos += 6;
    if (!PlayToken(token))
        m_boxes.Notice(this, QString::fromUtf8(kOperationImpossibleText));
}

// ------------------------------------------------------ moves and replies

bool TForm1::PlayToken(std::string_view token)
{
    const std::optional<DecodedToken> move = DecodeToken(token);
    if (!move)
        return false;
    if (move->IsCapture()) {
        // The program's own moves take whatever stands there, but a king.
        m_board->CaptureTarget(m_board->FigureAt(move->FromColumn, move->FromRow), "", move->ToRow,
                               move->ToColumn);
    }
    m_board->MoveFigure(m_board->FigureAt(move->FromColumn, move->FromRow), move->ToRow, 0, 0, move->ToColumn);
    if (MoveLineSetting == 1)
        DrawMoveLine(move->FromColumn, move->FromRow, move->ToColumn, move->ToRow);
    return true;
}

void TForm1::CheckUserMove()
{
    const SolutionStep step = JudgeAgainstSolution(TaskSolution, SolutionPos, LastMoveText);

    if (step.Verdict == MoveVerdict::Guessed) {
        m_boxes.Notice(this, QString::fromUtf8(kGuessedText));
        // The reply comes when the box is closed, even if the time ran out
        // while it was open.
        if (!PlayToken(step.ReplyToken))
            m_boxes.Notice(this, QString::fromUtf8(kOperationImpossibleText));
        SolutionPos = step.NextSolutionPos;
        return;
    }

    // The attempt is over: stop the clock and count it before any message,
    // so that a time-out while a message is open cannot count it again.
    const bool solved = step.Verdict == MoveVerdict::Solved;
    EndAttempt(solved);
    SolutionPos = step.NextSolutionPos;
    if (step.Verdict != MoveVerdict::NotGuessed)
        Image1->setEnabled(false);
    if (step.KeyUnreadable)
        m_boxes.Notice(this, QString::fromUtf8(kOperationImpossibleText));
    m_boxes.Notice(this, QString::fromUtf8(solved ? kSolvedText : kNotGuessedText));
}

void TForm1::DrawMoveLine(int fromCol, int fromRow, int toCol, int toRow)
{
    QPixmap picture = Image14->pixmap();
    {
        QPainter painter(&picture);
        painter.setPen(QPen(QColor(255, 0, 0), 4));
        const MoveLine line = m_board->DrawMoveLineEnds(fromCol, fromRow, toCol, toRow);
        painter.drawLine(line.X1, line.Y1, line.X2, line.Y2);
    }
    Image1->setPixmap(picture);
}

// ---------------------------------------------------------------- dragging

void TForm1::FigureMouseDown(Picture* sender, Qt::MouseButton, Qt::KeyboardModifiers, int x, int y)
{
    // A drag whose release never came (the pointer was taken by a message
    // box, for instance) is ended before the new one starts.
    CancelDrag();
    Dragging = !TaskOver;
    sender->BringToFront();
    DragStartX = x;
    DragStartY = y;
    const Square from = m_board->SquareOf(*sender);
    FromRow = from.Row;
    FromCol = from.Column;
    if (Dragging)
        m_dragged = dynamic_cast<FigurePicture*>(sender);
}

void TForm1::FigureMouseMove(Picture* sender, Qt::KeyboardModifiers, int x, int y)
{
    if (!Dragging || sender != static_cast<Picture*>(m_dragged.data()))
        return;
    if (x != DragStartX)
        sender->SetLeft(sender->Left() + x - DragStartX);
    if (y != DragStartY)
        sender->SetTop(sender->Top() + y - DragStartY);
}

void TForm1::FigureMouseUp(Picture* sender, Qt::MouseButton, Qt::KeyboardModifiers, int, int)
{
    if (m_dragged && sender != static_cast<Picture*>(m_dragged.data()))
        CancelDrag();
    Dragging = false;
    m_dragged = nullptr;
    // After the end of the attempt a move is no longer judged: a figure whose
    // drag began before the time ran out just goes back.
    if (TaskOver) {
        SnapBack(sender);
        return;
    }
    switch (m_board->JudgeDrop(*sender)) {
    case DropResult::PutBack:
        SnapBack(sender);
        break;
    case DropResult::PutBackRefused:
        SnapBack(sender);
        m_boxes.Notice(this, QString::fromUtf8(kMoveImpossibleText));
        break;
    case DropResult::Made:
        // The sender may be captured by the reply in here; it stays alive
        // (hidden) until this event has been handled, and nothing below
        // touches it.
        CheckUserMove();
        break;
    }
}

void TForm1::SnapBack(Picture* picture)
{
    m_board->SnapBack(*picture);
}

void TForm1::CancelDrag()
{
    if (Dragging && m_dragged && !m_dragged->IsReleased())
        SnapBack(m_dragged.data());
    Dragging = false;
    m_dragged = nullptr;
}

// -------------------------------------------------------------------- menu

void TForm1::N5Click()
{
    m_boxes.Notice(this, Qs(ResultsText(AttemptCount, SolvedCount)));
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
    ShowChessQuote(this, m_random, m_boxes);
}

void TForm1::N8Click()
{
    ShowGulmarComment(this, m_random, m_boxes);
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
