#include "gui/settings/SettingsDialog.h"

#include "core/settings/ProgramSettings.h"
#include "gui/settings/LiveSettings.h"
#include "gui/widgets/ErrorReport.h"
#include "gui/widgets/Fonts.h"
#include "platform/Autostart.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QStyle>
#include <QVBoxLayout>

namespace {

QLabel *makeLabel(QWidget *parent, const QString &objectName, const QString &text, QWidget *buddy = nullptr)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(objectName);
    label->setBuddy(buddy);
    return label;
}

QSpinBox *makeRatingEdit(QWidget *parent, const QString &objectName, int designValue)
{
    auto *edit = new QSpinBox(parent);
    edit->setObjectName(objectName);
    // Page Up and Page Down step ten times the arrows' step.
    edit->setRange(0, 1000);
    edit->setSingleStep(1);
    edit->setValue(designValue);
    edit->setMinimumWidth(80);
    return edit;
}

} // namespace

SettingsDialog::SettingsDialog(LiveSettings &live, Autostart &autostart, const QString &configPath, int crtWatts,
                               int hostWatts, QWidget *owner)
    : QDialog(owner)
    , m_live(live)
    , m_autostart(autostart)
    , m_configPath(configPath)
{
    setObjectName(QStringLiteral("frmSetup"));
    setWindowTitle(QStringLiteral("系统设置"));
    setFont(songTiPixelFont(12));
    setFixedSize(321, 317);
    buildControls();
    loadSettings(crtWatts, hostWatts);
}

void SettingsDialog::buildControls()
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 8, 10, 10);
    layout->setSpacing(8);

    auto *groupBox1 = new QGroupBox(QStringLiteral("设置"), this);
    groupBox1->setObjectName(QStringLiteral("GroupBox1"));
    auto *general = new QGridLayout(groupBox1);
    general->setHorizontalSpacing(8);
    general->setVerticalSpacing(6);
    m_comboBox1 = new QComboBox(groupBox1);
    m_comboBox1->setObjectName(QStringLiteral("ComboBox1"));
    m_comboBox1->addItems({QStringLiteral("MSN主题"), QStringLiteral("Vista主题"), QStringLiteral("Cool主题"),
                           QStringLiteral("系统主题"), QStringLiteral("酷炫主题")});
    m_ckAutoRun = new QCheckBox(QStringLiteral("程序随系统一起启动"), groupBox1);
    m_ckAutoRun->setObjectName(QStringLiteral("ckAutoRun"));
    m_ckAutoRun->setChecked(true);
    m_ckAutospeek = new QCheckBox(QStringLiteral("整点报时"), groupBox1);
    m_ckAutospeek->setObjectName(QStringLiteral("ckAutospeek"));
    m_ckAutospeek->setChecked(true);
    m_ckRestore = new QCheckBox(QStringLiteral("启动时恢复上次的任务"), groupBox1);
    m_ckRestore->setObjectName(QStringLiteral("ckRestore"));
    m_ckRestore->setChecked(true);
    // Each input is named by its label, also to screen readers.
    general->addWidget(makeLabel(groupBox1, QStringLiteral("Label1"), QStringLiteral("主题:"), m_comboBox1), 0, 0);
    general->addWidget(m_comboBox1, 0, 1);
    general->addWidget(m_ckAutoRun, 1, 0, 1, 2);
    general->addWidget(m_ckAutospeek, 2, 0, 1, 2);
    general->addWidget(m_ckRestore, 3, 0, 1, 2);
    general->setColumnStretch(1, 1);
    layout->addWidget(groupBox1);

    auto *groupBox2 = new QGroupBox(QStringLiteral("电脑功率"), this);
    groupBox2->setObjectName(QStringLiteral("GroupBox2"));
    auto *power = new QGridLayout(groupBox2);
    power->setHorizontalSpacing(8);
    power->setVerticalSpacing(6);
    m_editCrt = makeRatingEdit(groupBox2, QStringLiteral("editCrt"), 70);
    m_editZhuji = makeRatingEdit(groupBox2, QStringLiteral("editZhuji"), 200);
    power->addWidget(makeLabel(groupBox2, QStringLiteral("Label2"), QStringLiteral("显示器功率:"), m_editCrt), 0, 0);
    power->addWidget(m_editCrt, 0, 1);
    power->addWidget(makeLabel(groupBox2, QStringLiteral("Label4"), QStringLiteral("W")), 0, 2);
    power->addWidget(makeLabel(groupBox2, QStringLiteral("Label3"), QStringLiteral("主机功率:"), m_editZhuji), 1, 0);
    power->addWidget(m_editZhuji, 1, 1);
    power->addWidget(makeLabel(groupBox2, QStringLiteral("Label5"), QStringLiteral("W")), 1, 2);
    QLabel *note =
        makeLabel(groupBox2, QStringLiteral("Label6"), QStringLiteral("注意:该功能只是估算,请以实际数据为准."));
    note->setWordWrap(true);
    power->addWidget(note, 2, 0, 1, 4);
    power->setColumnStretch(3, 1);
    layout->addWidget(groupBox2);
    layout->addStretch(1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    auto *bitBtn1 = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), QStringLiteral("确定"), this);
    bitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    bitBtn1->setDefault(true);
    auto *bitBtn2 = new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton), QStringLiteral("取消"), this);
    bitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    buttons->addWidget(bitBtn1);
    buttons->addWidget(bitBtn2);
    layout->addLayout(buttons);

    connect(bitBtn1, &QPushButton::clicked, this, &SettingsDialog::saveAndClose);
    connect(bitBtn2, &QPushButton::clicked, this, &SettingsDialog::cancel);
}

void SettingsDialog::loadSettings(int crtWatts, int hostWatts)
{
    // The box shows what the desktop has, whatever the file says.
    m_ckAutoRun->setChecked(m_autostart.isOn());

    const ProgramSettings settings(m_configPath);
    // Opening already switches the running signal, even if the dialog is
    // then cancelled.
    const bool chime = settings.hourlyChime();
    m_ckAutospeek->setChecked(chime);
    m_live.setChimeOn(chime);
    m_ckRestore->setChecked(m_live.restoresListAtStart());

    const int theme = settings.theme();
    m_comboBox1->setCurrentIndex(theme >= 0 && theme < m_comboBox1->count() ? theme : -1);

    // The ratings in use by the running estimate, not those in the file.
    m_editCrt->setValue(crtWatts);
    m_editZhuji->setValue(hostWatts);
}

void SettingsDialog::saveAndClose()
{
    const int theme = m_comboBox1->currentIndex();
    ProgramSettings settings(m_configPath);
    QString error;
    if (!settings.setTheme(theme, &error)) {
        showErrorReport(this, error);
        return;
    }
    m_live.applyTheme(theme);

    if (m_ckAutoRun->isChecked()) {
        // An entry that is already there stays as it is, whatever it starts.
        if (!m_autostart.isOn() && !m_autostart.enable(QCoreApplication::applicationFilePath(), &error)) {
            showErrorReport(this, error);
            return;
        }
    } else if (m_autostart.isOn()) {
        m_autostart.disable();
    }

    const bool chime = m_ckAutospeek->isChecked();
    if (!settings.setHourlyChime(chime, &error)) {
        showErrorReport(this, error);
        return;
    }
    m_live.setChimeOn(chime);
    m_live.setRestoresListAtStart(m_ckRestore->isChecked());

    // Stored for the next start: the running estimate keeps its ratings.
    if (!settings.setMonitorWatts(m_editCrt->value(), &error) || !settings.setHostWatts(m_editZhuji->value(), &error)) {
        showErrorReport(this, error);
        return;
    }
    accept();
}

void SettingsDialog::cancel()
{
    reject();
}
