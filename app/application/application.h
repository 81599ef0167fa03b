#ifndef APPLICATION_H
#define APPLICATION_H

#include "app/desktop/commandline.h"

#include <memory>

class Object;
class QApplication;
class QuitOnSignal;
class SettingsStore;
class ShellWindow;
class SingleInstance;
class Translations;
struct StartupSettings;

// The application from its start to its end, in its order: the command line
// is answered before anything starts; one application runs per desktop
// session; the bridge connects to the instrument before the application
// object exists; the window shows the web application with the start-up
// settings; and the window ends before the instrument is closed. What it
// makes lives until the process ends; the bridge is never deleted.
class Application
{
public:
    Application(int &argc, char **argv);
    ~Application();

    Application(const Application &) = delete;
    Application &operator=(const Application &) = delete;

    // Until the window has closed; the process's exit code.
    int run();

private:
    int answerCommandLine();
    void prepareProcess();
    void startBridge();
    void createApplicationObject();
    void readSettings();
    void openWindow();
    void endInOrder();

    int &m_argc;
    char **const m_argv;
    // Destroyed the other way round, as the event loop ends.
    const CommandLine m_commandLine;
    std::unique_ptr<SingleInstance> m_instance;
    Object *m_bridge = nullptr;
    std::unique_ptr<QApplication> m_application;
    std::unique_ptr<Translations> m_translations;
    std::unique_ptr<SettingsStore> m_settings;
    std::unique_ptr<StartupSettings> m_startup;
    std::unique_ptr<ShellWindow> m_window;
    std::unique_ptr<QuitOnSignal> m_quitOnSignal;
};

#endif // APPLICATION_H
