#include "game/forms.h"

#include "dialogs/form5.h"
#include "dialogs/form6.h"
#include "dialogs/form7.h"
#include "editor/form2.h"
#include "filedialog/form3.h"
#include "files/game_files.h"
#include "files/records_txt.h"
#include "game/for6.h"
#include "game/form1.h"
#include "game/form4.h"
#include "shell/files.h"
#include "view/startup_scale.h"

#include <QDir>

template <class T>
static std::function<std::unique_ptr<T>()> maker(Forms& forms)
{
    return [&forms] { return std::make_unique<T>(forms); };
}

Forms::Forms() : Forms(Setup()) {}

Forms::Forms(Setup setup)
    : m_setup(std::move(setup)),
      m_form1(maker<Form1>(*this)),
      m_form2(maker<Form2>(*this)),
      m_form3(maker<Form3>(*this)),
      m_form4(maker<Form4>(*this)),
      m_form5(maker<Form5>(*this)),
      m_form6(maker<Form6>(*this)),
      m_form7(maker<Form7>(*this)),
      m_for6(maker<For6>(*this))
{
    if (!m_setup.devices)
        m_setup.devices = [] { return audio::makeSdlDevice(); };
    if (!m_setup.now)
        m_setup.now = [] { return QDateTime::currentDateTime(); };
    if (m_setup.startFolder.isEmpty())
        m_setup.startFolder = QDir::currentPath();
    // Absolute, as the save/load dialog's folder list keeps it.
    m_setup.workFolder = QDir(m_setup.workFolder.isEmpty() ? QDir::currentPath() : m_setup.workFolder).absolutePath();
    if (!m_setup.screenArea)
        m_setup.screenArea = [scale = m_setup.windowScale] { return view::screenArea(scale); };
    // What a write cut short by a crash or a power cut left beside the game's files goes before
    // the game reads or writes any of them.
    shell::removeStaleTemporaries(m_setup.startFolder, files::isGameFile);
    if (m_setup.workFolder != QDir(m_setup.startFolder).absolutePath())
        shell::removeStaleTemporaries(m_setup.workFolder, files::isGameFile);
    m_view = view_cfg::read(viewPath());
    m_soundRead = sound_cfg::read(soundPath());
    m_sound = m_soundRead.values;
}

QString Forms::viewPath() const
{
    return shell::joinPath(m_setup.startFolder, "/", view_cfg::kFileName);
}

shell::WriteResult Forms::setView(const view_cfg::Values& values)
{
    m_view = values;
    return view_cfg::write(viewPath(), values);
}

QString Forms::soundPath() const
{
    return shell::joinPath(m_setup.startFolder, "/", sound_cfg::kFileName);
}

QString Forms::recordsPath() const
{
    return shell::joinPath(m_setup.startFolder, "/", records_txt::kFileName);
}

shell::WriteResult Forms::setSound(const sound_cfg::Values& values)
{
    m_sound = values;
    return sound_cfg::write(soundPath(), values);
}

Forms::~Forms() = default;

void Forms::start()
{
    // The file the start-up reads: config.cfg in the working folder, where the save/load dialog
    // starts.
    const QString path = shell::joinPath(workFolder(), "/", config_cfg::kFileName);
    m_startSettings = StartSettings{path, config_cfg::read(path)};
    if (!m_startSettings->read.damaged)
        for6().show(); // the start-up's own show then finds it up
    form1();
}

config_cfg::ReadResult Forms::startSettings(const QString& path)
{
    std::optional<StartSettings> read;
    read.swap(m_startSettings);
    if (read && read->path == path)
        return read->read;
    return config_cfg::read(path);
}

Form1& Forms::form1() { return m_form1.get(); }
Form2& Forms::form2() { return m_form2.get(); }
Form3& Forms::form3() { return m_form3.get(); }
Form4& Forms::form4() { return m_form4.get(); }
Form5& Forms::form5() { return m_form5.get(); }
Form6& Forms::form6() { return m_form6.get(); }
Form7& Forms::form7() { return m_form7.get(); }
For6& Forms::for6() { return m_for6.get(); }

void Forms::closeShowingWindow()
{
    if (m_form1.exists() && m_form1.get().visible())
        m_form1.get().closeBox();
    else
        for6().closeBox();
}

bool Forms::form2Exists() const { return m_form2.exists(); }
bool Forms::form3Exists() const { return m_form3.exists(); }
bool Forms::form4Exists() const { return m_form4.exists(); }
bool Forms::form7Exists() const { return m_form7.exists(); }
