#include "gui/editor/MissionEditor.h"

#include "core/missions/MissionComposer.h"
#include "core/missions/MissionList.h"
#include "core/text/RegionalFormat.h"
#include "gui/editor/FileNameField.h"
#include "gui/editor/QuickTimeButton.h"
#include "gui/editor/RepeatField.h"
#include "gui/editor/TimeField.h"
#include "gui/widgets/ChineseCalendar.h"
#include "gui/widgets/ErrorReport.h"
#include "gui/widgets/Fonts.h"
#include "gui/widgets/GradientTitle.h"
#include "gui/widgets/Icons.h"
#include "gui/widgets/NavBar.h"
#include "platform/Clock.h"

#include <QAccessible>
#include <QButtonGroup>
#include <QCalendarWidget>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QShowEvent>
#include <QTabBar>
#include <QTabWidget>
#include <QTimeEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int clientWidth = 498;
// Taller than the plain editor by the rows of the repeat control.
constexpr int clientHeight = 354 + 84;
constexpr int headerHeight = 65;
constexpr int navBarWidth = 145;
constexpr int ringBrowseWidth = 5;

QPushButton *makeButton(QWidget *parent, const QString &objectName)
{
    auto *button = new QPushButton(parent);
    button->setObjectName(objectName);
    // Enter belongs to the focused control, never to a dialog-wide default
    // button.
    button->setAutoDefault(false);
    button->setDefault(false);
    button->setMinimumWidth(88);
    return button;
}

} // namespace

MissionEditor::MissionEditor(MissionList *missions, const Clock *clock, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , m_missions(missions)
    , m_clock(clock)
{
    setObjectName(QStringLiteral("frmMis"));
    setWindowTitle(QStringLiteral("添加任务"));
    setFont(songTiFont(9));
    setFixedSize(clientWidth, clientHeight);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(buildHeader());

    auto *body = new QHBoxLayout;
    body->setContentsMargins(0, 0, 0, 0);
    body->setSpacing(0);
    auto *navScroll = new QScrollArea(this);
    navScroll->setObjectName(QStringLiteral("navScroll"));
    navScroll->setFixedWidth(navBarWidth);
    navScroll->setFrameShape(QFrame::NoFrame);
    navScroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    navScroll->setWidgetResizable(true);
    navScroll->setFocusPolicy(Qt::NoFocus);
    NavBar *navBar = buildNavBar();
    navScroll->setWidget(navBar);
    body->addWidget(navScroll);

    auto *work = new QVBoxLayout;
    work->setContentsMargins(8, 6, 8, 8);
    work->setSpacing(6);
    work->addWidget(buildPages(), 1);
    work->addWidget(buildSchedule());
    work->addWidget(buildButtons());
    body->addLayout(work, 1);
    layout->addLayout(body, 1);

    hidePageTabs();
    orderFocusChain(navBar);
    m_dpDate->installEventFilter(this);
    m_dpTime->installEventFilter(this);
    connect(m_pages, &QTabWidget::currentChanged, this, &MissionEditor::markChosenKind);
    markChosenKind(m_pages->currentIndex());
}

void MissionEditor::hidePageTabs()
{
    // Pages change only through the navigation: the hidden tabs take no
    // focus, so Tab goes from the navigation straight to the page's input.
    m_pages->tabBar()->hide();
    m_pages->tabBar()->setFocusPolicy(Qt::NoFocus);
    m_pages->setFocusPolicy(Qt::NoFocus);
}

void MissionEditor::orderFocusChain(NavBar *navBar)
{
    // Navigation (headers and items, top to bottom: the order they were
    // made in), every page's inputs (only the shown page's take the focus),
    // date, time, the buttons.
    QList<QWidget *> chain;
    for (QToolButton *button : navBar->findChildren<QToolButton *>())
        chain.append(button);
    chain << m_listBox << m_fnPro->lineEdit() << m_fnPro->browseButton() << m_fnFile->lineEdit()
          << m_fnFile->browseButton() << m_memo << m_cbMsg << m_fnRing->lineEdit() << m_fnRing->browseButton()
          << m_editUrl << m_editEmail << m_dpDate << m_dpTime << m_btnAddOn << m_btnAdd << m_btnClose;
    for (qsizetype i = 1; i < chain.size(); ++i)
        setTabOrder(chain.at(i - 1), chain.at(i));
}

void MissionEditor::markChosenKind(int page)
{
    QAbstractButton *item = m_kindItems->button(page);
    if (!item)
        return;
    item->setChecked(true);
    m_pages->setAccessibleName(QStringLiteral("任务类型:%1").arg(item->text()));
    QAccessibleEvent event(m_pages, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&event);
}

QWidget *MissionEditor::buildHeader()
{
    auto *header = new QFrame(this);
    header->setObjectName(QStringLiteral("headerStrip"));
    header->setFixedHeight(headerHeight);
    header->setFrameShape(QFrame::NoFrame);
    header->setAutoFillBackground(true);
    QPalette palette = header->palette();
    palette.setColor(QPalette::Window, Qt::white);
    header->setPalette(palette);

    auto *picture = new QLabel(header);
    picture->setObjectName(QStringLiteral("Image1"));
    picture->setFixedSize(36, 36);
    picture->setPixmap(namedIcon(QStringLiteral("editor-header")).pixmap(QSize(36, 36)));
    picture->setAccessibleName(QStringLiteral("任务管理"));
    auto *text = new QLabel(QStringLiteral("任务管理,用户可以在此处添加多项任务."), header);
    text->setObjectName(QStringLiteral("Label1"));

    auto *line = new QFrame(header);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);

    auto *row = new QHBoxLayout;
    row->setContentsMargins(14, 0, 10, 0);
    row->setSpacing(12);
    row->addWidget(picture);
    row->addWidget(text, 1);
    auto *column = new QVBoxLayout(header);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addLayout(row, 1);
    column->addWidget(line);
    return header;
}

NavBar *MissionEditor::buildNavBar()
{
    auto *bar = new NavBar(QSize(32, 32), this);
    bar->setObjectName(QStringLiteral("dxNavBar1"));
    bar->setAutoFillBackground(true);
    QPalette palette = bar->palette();
    palette.setColor(QPalette::Window, QColor(226, 234, 246));
    bar->setPalette(palette);

    bar->addGroup(QStringLiteral("nbgMission"), QStringLiteral("系统任务"));
    QToolButton *shutdown = bar->addItem(QStringLiteral("nbShutdown"), QStringLiteral("关闭电脑"),
                                         namedIcon(QStringLiteral("kind-shutdown")));
    QToolButton *program =
        bar->addItem(QStringLiteral("nbExePro"), QStringLiteral("执行程序"), namedIcon(QStringLiteral("kind-program")));
    QToolButton *file =
        bar->addItem(QStringLiteral("nbOpenFile"), QStringLiteral("打开文件"), namedIcon(QStringLiteral("kind-file")));
    bar->addGroup(QStringLiteral("nbgTishi"), QStringLiteral("提示任务"));
    QToolButton *message = bar->addItem(QStringLiteral("nbMessage"), QStringLiteral("提示消息"),
                                        namedIcon(QStringLiteral("kind-message")));
    QToolButton *ring =
        bar->addItem(QStringLiteral("nbRing"), QStringLiteral("系统响铃"), namedIcon(QStringLiteral("kind-ring")));
    bar->addGroup(QStringLiteral("nbgInternet"), QStringLiteral("网络任务"));
    QToolButton *url =
        bar->addItem(QStringLiteral("nbOpenUrl"), QStringLiteral("打开网址"), namedIcon(QStringLiteral("kind-web")));
    QToolButton *mail =
        bar->addItem(QStringLiteral("nbEmail"), QStringLiteral("发送邮件"), namedIcon(QStringLiteral("kind-mail")));
    // Icons beside their captions keep the first group and the two folded
    // headers within the dialog's height.
    // The item of the active page stays checked, so sight and screen
    // readers both tell which kind the editor composes.
    m_kindItems = new QButtonGroup(this);
    int page = PowerPage;
    for (QToolButton *item : {shutdown, program, file, message, ring, url, mail}) {
        item->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        item->setCheckable(true);
        m_kindItems->addButton(item, page++);
    }
    bar->setGroupExpanded(QStringLiteral("nbgTishi"), false);
    bar->setGroupExpanded(QStringLiteral("nbgInternet"), false);
    // The three groups open together would not fit the dialog's height.
    bar->setOneGroupOpen(true);

    connect(shutdown, &QToolButton::clicked, this, &MissionEditor::showPowerPage);
    connect(program, &QToolButton::clicked, this, &MissionEditor::showProgramPage);
    connect(file, &QToolButton::clicked, this, &MissionEditor::showFilePage);
    connect(message, &QToolButton::clicked, this, &MissionEditor::showMessagePage);
    connect(ring, &QToolButton::clicked, this, &MissionEditor::showRingPage);
    connect(url, &QToolButton::clicked, this, &MissionEditor::showWebPage);
    connect(mail, &QToolButton::clicked, this, &MissionEditor::showMailPage);
    return bar;
}

QWidget *MissionEditor::addPage(const QString &objectName, const QString &caption, const QString &title, QWidget *input)
{
    auto *page = new QWidget;
    page->setObjectName(objectName);
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(new GradientTitle(title, page));
    auto *inputLayout = new QVBoxLayout;
    inputLayout->setContentsMargins(6, 8, 6, 6);
    inputLayout->addWidget(input);
    inputLayout->addStretch(1);
    layout->addLayout(inputLayout, 1);
    m_pages->addTab(page, caption);
    return page;
}

QWidget *MissionEditor::buildPages()
{
    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("PageControl1"));
    m_pages->setDocumentMode(true);

    m_listBox = new QListWidget;
    m_listBox->setObjectName(QStringLiteral("ListBox1"));
    m_listBox->setSelectionMode(QAbstractItemView::SingleSelection);
    m_listBox->addItems(powerEntries());
    m_listBox->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_listBox->setFixedHeight(m_listBox->sizeHintForRow(0) * m_listBox->count() + 2 * m_listBox->frameWidth() + 2);
    // The inputs have no label of their own: screen readers name each by
    // its page's title.
    m_listBox->setAccessibleName(QStringLiteral("关闭或重启计算机"));
    addPage(QStringLiteral("TabSheet1"), QStringLiteral("关闭重启"), QStringLiteral("关闭或重启计算机"), m_listBox);

    m_fnPro = new FileNameField(programFilters());
    m_fnPro->setObjectName(QStringLiteral("fnPro"));
    m_fnPro->lineEdit()->setAccessibleName(QStringLiteral("执行应用程序"));
    addPage(QStringLiteral("TabSheet2"), QStringLiteral("执行程序"), QStringLiteral("执行应用程序"), m_fnPro);

    m_fnFile = new FileNameField(fileFilters());
    m_fnFile->setObjectName(QStringLiteral("fnFile"));
    m_fnFile->lineEdit()->setAccessibleName(QStringLiteral("打开文件"));
    addPage(QStringLiteral("TabSheet3"), QStringLiteral("打开文件"), QStringLiteral("打开文件"), m_fnFile);

    auto *messageInputs = new QWidget;
    auto *messageLayout = new QVBoxLayout(messageInputs);
    messageLayout->setContentsMargins(0, 0, 0, 0);
    messageLayout->setSpacing(6);
    m_memo = new QPlainTextEdit(messageInputs);
    m_memo->setObjectName(QStringLiteral("Memo1"));
    m_memo->setToolTip(QStringLiteral("在这里输入要提示消息的内容"));
    m_memo->setAccessibleName(QStringLiteral("系统提示信息"));
    m_memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_memo->setTabChangesFocus(true);
    const int margin = int(m_memo->document()->documentMargin());
    m_memo->setFixedHeight(m_memo->fontMetrics().lineSpacing() + 2 * margin + 2 * m_memo->frameWidth());
    m_cbMsg = new QComboBox(messageInputs);
    m_cbMsg->setObjectName(QStringLiteral("cbMsg"));
    m_cbMsg->setAccessibleName(QStringLiteral("常用提示信息"));
    m_cbMsg->setEditable(true);
    m_cbMsg->setInsertPolicy(QComboBox::NoInsert);
    m_cbMsg->addItems({QStringLiteral("该起床了!"), QStringLiteral("是到吃饭的时间了,休息一下吧."),
                       QStringLiteral("眼晴困了,休息一下,看看远处对眼晴好!"),
                       QStringLiteral("又到了下班的时间了,oh,my God!")});
    m_cbMsg->setCurrentIndex(-1);
    m_cbMsg->setEditText(QString());
    connect(m_cbMsg, &QComboBox::editTextChanged, this, &MissionEditor::useMessagePreset);
    // Picking the preset that is already shown changes no text but should
    // still put it back into the memo.
    connect(m_cbMsg, &QComboBox::textActivated, this, &MissionEditor::useMessagePreset);
    messageLayout->addWidget(m_memo);
    messageLayout->addWidget(m_cbMsg);
    addPage(QStringLiteral("TabSheet4"), QStringLiteral("提示消息"), QStringLiteral("系统提示信息"), messageInputs);

    m_fnRing = new FileNameField(ringFilters());
    m_fnRing->setObjectName(QStringLiteral("fnRing"));
    m_fnRing->lineEdit()->setAccessibleName(QStringLiteral("系统响铃"));
    m_fnRing->browseButton()->setFixedWidth(ringBrowseWidth);
    m_fnRing->setText(QStringLiteral("内置铃声"));
    addPage(QStringLiteral("TabSheet5"), QStringLiteral("系统响铃"), QStringLiteral("系统响铃"), m_fnRing);

    m_editUrl = new QLineEdit(QStringLiteral("http://www.example.org/"));
    m_editUrl->setObjectName(QStringLiteral("editUrl"));
    m_editUrl->setAccessibleName(QStringLiteral("打开网页"));
    addPage(QStringLiteral("TabSheet6"), QStringLiteral("打开网页"), QStringLiteral("打开网页"), m_editUrl);

    m_editEmail = new QLineEdit(QStringLiteral("someone@example.org"));
    m_editEmail->setObjectName(QStringLiteral("editEmail"));
    m_editEmail->setAccessibleName(QStringLiteral("发送电子邮件"));
    addPage(QStringLiteral("TabSheet7"), QStringLiteral("发送邮件"), QStringLiteral("发送电子邮件"), m_editEmail);
    return m_pages;
}

QWidget *MissionEditor::buildSchedule()
{
    auto *group = new QGroupBox(QStringLiteral("设定时间"), this);
    group->setObjectName(QStringLiteral("GroupBox1"));
    m_dpDate = new QDateEdit(group);
    m_dpDate->setObjectName(QStringLiteral("dpDate"));
    m_dpDate->setCalendarPopup(true);
    useChineseNames(m_dpDate->calendarWidget());
    m_dpTime = new TimeField(group);
    m_dpTime->setObjectName(QStringLiteral("dpTime"));

    // One row each: side by side, the whole date and time would not fit the
    // dialog's width in every look.
    auto *layout = new QGridLayout(group);
    layout->setContentsMargins(10, 4, 10, 6);
    layout->setHorizontalSpacing(6);
    layout->setVerticalSpacing(4);
    auto *dateLabel = new QLabel(QStringLiteral("执行日期:"), group);
    dateLabel->setBuddy(m_dpDate);
    auto *timeLabel = new QLabel(QStringLiteral("执行时间:"), group);
    timeLabel->setBuddy(m_dpTime);
    layout->addWidget(dateLabel, 0, 0);
    layout->addWidget(m_dpDate, 0, 1);
    layout->addWidget(timeLabel, 1, 0);
    layout->addWidget(m_dpTime, 1, 1);
    addRepeatControls(group, layout);
    // The fields take the whole width: room for the whole date and time in
    // every look, also one chosen after the dialog was made.
    layout->setColumnStretch(1, 1);
    return group;
}

void MissionEditor::addRepeatControls(QWidget *group, QGridLayout *layout)
{
    auto *quickTimes = new QuickTimeButton(m_clock, group);
    connect(quickTimes, &QuickTimeButton::momentChosen, this, &MissionEditor::setDateAndTime);
    layout->addWidget(quickTimes, 1, 2);
    m_repeat = new RepeatField(group);
    layout->addWidget(m_repeat, 2, 0, 1, 3);
}

void MissionEditor::setDateAndTime(const QDateTime &moment)
{
    m_dpDate->setDate(moment.date());
    m_dpTime->setTime(moment.time());
}

QWidget *MissionEditor::buildButtons()
{
    auto *row = new QWidget(this);
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);
    m_btnAddOn = makeButton(row, QStringLiteral("btnAddOn"));
    m_btnAdd = makeButton(row, QStringLiteral("btnAdd"));
    m_btnClose = makeButton(row, QStringLiteral("btnClose"));
    layout->addStretch(1);
    layout->addWidget(m_btnAddOn);
    layout->addWidget(m_btnAdd);
    layout->addWidget(m_btnClose);
    connect(m_btnAddOn, &QPushButton::clicked, this, &MissionEditor::addAndContinue);
    connect(m_btnAdd, &QPushButton::clicked, this, &MissionEditor::addAndClose);
    connect(m_btnClose, &QPushButton::clicked, this, &MissionEditor::cancel);
    return row;
}

int MissionEditor::activePage() const
{
    return m_pages->currentIndex();
}

QString MissionEditor::activeInput() const
{
    switch (activePage()) {
    case PowerPage: {
        const QListWidgetItem *entry = m_listBox->currentItem();
        return entry ? entry->text() : powerEntries().constFirst();
    }
    case ProgramPage: return m_fnPro->text();
    case FilePage: return m_fnFile->text();
    case MessagePage: return m_memo->toPlainText();
    case RingPage: return m_fnRing->text();
    case WebPage: return m_editUrl->text();
    default: return m_editEmail->text();
    }
}

Mission MissionEditor::composedMission() const
{
    Mission mission = composeMission(activePage(), activeInput(), m_dpDate->date(), m_dpTime->time());
    applyRepeatRule(mission, m_repeat->rule(m_dpDate->date()), m_clock->now(), nullptr);
    return mission;
}

void MissionEditor::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // A window coming back from being minimised is no new showing.
    if (!event->spontaneous())
        resetFields();
}

void MissionEditor::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (auto *button = qobject_cast<QAbstractButton *>(focusWidget()))
            button->click();
        return;
    default: QDialog::keyPressEvent(event);
    }
}

bool MissionEditor::eventFilter(QObject *watched, QEvent *event)
{
    // Tab leaves the date and the time for the next control, as everywhere
    // in the dialog; the arrow keys move between their parts.
    if ((watched == m_dpDate || watched == m_dpTime) && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if ((key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab)
            && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            focusNextPrevChild(key->key() == Qt::Key_Tab);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void MissionEditor::resetFields()
{
    const RegionalFormat &format = RegionalFormat::current();
    m_dpDate->setDisplayFormat(format.shortDatePattern());
    m_dpTime->setDisplayFormat(format.longTimePattern());

    const QDateTime now = m_clock->now();
    m_dpTime->setTime(proposedTime(now.time()));
    m_pages->setCurrentIndex(PowerPage);
    m_listBox->setCurrentRow(0);
    m_dpDate->setDate(now.date());

    m_repeat->reset();
    m_repeat->untilBox()->setDate(now.date().addMonths(1));
    const int row = m_mode == ModifyMode ? m_missions->model().rowOf(m_modifiedId) : -1;
    if (row >= 0) {
        const Mission &mission = m_missions->model().mission(row);
        showMission(mission);
        m_repeat->setRule(mission.repeatRule, m_missions->model().repeatDescription(row));
    }
}

void MissionEditor::showMission(const Mission &mission)
{
    const int page = pageForKindText(mission.kindText);
    m_pages->setCurrentIndex(page);
    switch (page) {
    case PowerPage: {
        const QList<QListWidgetItem *> entries = m_listBox->findItems(mission.kindText, Qt::MatchExactly);
        if (!entries.isEmpty())
            m_listBox->setCurrentItem(entries.first());
        break;
    }
    case ProgramPage: m_fnPro->setText(pickedPathText(mission.description)); break;
    case FilePage: m_fnFile->setText(pickedPathText(mission.description)); break;
    case MessagePage: m_memo->setPlainText(mission.description); break;
    case RingPage: m_fnRing->setText(pickedPathText(mission.description)); break;
    case WebPage: m_editUrl->setText(mission.description); break;
    default: m_editEmail->setText(mission.description); break;
    }
    // A text the regional format cannot read leaves the proposal standing.
    if (const std::optional<QDate> date = StrToDate(mission.dateText))
        m_dpDate->setDate(*date);
    if (const std::optional<QTime> time = StrToTime(mission.timeText))
        m_dpTime->setTime(*time);
}

void MissionEditor::openForAdd()
{
    m_mode = AddMode;
    m_modifiedId = 0;
    m_btnAddOn->setVisible(true);
    m_btnAddOn->setText(QStringLiteral("添加并继续"));
    m_btnAdd->setText(QStringLiteral("添加并关闭"));
    m_btnClose->setText(QStringLiteral("不添加关闭"));
    open();
}

void MissionEditor::openForModify(int row)
{
    if (row < 0 || row >= m_missions->model().count())
        return;
    m_mode = ModifyMode;
    m_modifiedId = m_missions->model().id(row);
    m_btnAddOn->setVisible(false);
    m_btnAdd->setText(QStringLiteral("修改并保存"));
    m_btnClose->setText(QStringLiteral("不修改关闭"));
    open();
}

bool MissionEditor::writeComposedMission(bool editorClosing)
{
    Mission mission = composeMission(activePage(), activeInput(), m_dpDate->date(), m_dpTime->time());
    QString error;
    if (!applyRepeatRule(mission, m_repeat->rule(m_dpDate->date()), m_clock->now(), &error)) {
        showErrorReport(this, error);
        return false;
    }
    if (m_mode == AddMode) {
        m_missions->add(mission);
        emit missionAdded(editorClosing);
        return true;
    }
    if (!m_missions->modify(m_modifiedId, mission)) {
        // Over the main window: the editor closes, there is nothing left to modify.
        showErrorReport(parentWidget() ? parentWidget() : this,
                        QStringLiteral("要修改的任务已经不在任务列表中(它已被删除或列表已被重新加载),没有修改任何任务。"));
    }
    return true;
}

void MissionEditor::addAndClose()
{
    if (writeComposedMission(true))
        accept();
}

void MissionEditor::addAndContinue()
{
    writeComposedMission(false);
}

void MissionEditor::cancel()
{
    reject();
}

void MissionEditor::useMessagePreset(const QString &text)
{
    m_memo->setPlainText(text);
}

void MissionEditor::showPowerPage()
{
    m_pages->setCurrentIndex(PowerPage);
}

void MissionEditor::showProgramPage()
{
    m_pages->setCurrentIndex(ProgramPage);
}

void MissionEditor::showFilePage()
{
    m_pages->setCurrentIndex(FilePage);
}

void MissionEditor::showMessagePage()
{
    m_pages->setCurrentIndex(MessagePage);
}

void MissionEditor::showRingPage()
{
    m_pages->setCurrentIndex(RingPage);
}

void MissionEditor::showWebPage()
{
    m_pages->setCurrentIndex(WebPage);
}

void MissionEditor::showMailPage()
{
    m_pages->setCurrentIndex(MailPage);
}
