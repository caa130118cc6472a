#pragma once

#include <QDialog>

class Autostart;
class LiveSettings;
class QCheckBox;
class QComboBox;
class QSpinBox;

// The settings dialog: theme, start with the session, hourly time signal,
// restoring the list at start and the power ratings. Opening it already applies the stored hourly switch; OK
// writes config.ini key by key and stops at the first write that fails,
// with the error reported and the dialog left open.
class SettingsDialog : public QDialog
{
    Q_OBJECT

public:
    // `crtWatts` and `hostWatts` are the ratings in use; `configPath` is
    // config.ini in the program folder.
    SettingsDialog(LiveSettings &live, Autostart &autostart, const QString &configPath, int crtWatts, int hostWatts,
                   QWidget *owner = nullptr);

    void saveAndClose();
    void cancel();

private:
    void buildControls();
    void loadSettings(int crtWatts, int hostWatts);

    LiveSettings &m_live;
    Autostart &m_autostart;
    QString m_configPath;

    QComboBox *m_comboBox1 = nullptr;
    QCheckBox *m_ckAutoRun = nullptr;
    QCheckBox *m_ckAutospeek = nullptr;
    QCheckBox *m_ckRestore = nullptr;
    QSpinBox *m_editCrt = nullptr;
    QSpinBox *m_editZhuji = nullptr;
};
