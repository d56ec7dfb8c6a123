#pragma once
// Starts the game that Test Level plays the level in, and tells when it has ended. The game runs
// on its own while the editor goes on painting; nothing waits for it.
//
// The command: a launcher set for the product (a word list, split as a shell splits it, put before
// the program); without one a Windows program (a file beginning with "MZ") is run through "wine",
// any other program directly.

#include <QObject>
#include <QProcess>
#include <QString>
#include <QStringList>

// The launcher of a Windows program when the user has set none.
inline constexpr const char* kDefaultWindowsLauncher = "wine";

// True when the file at path begins with "MZ", the mark of a Windows program.
bool IsWindowsProgram(const QString& path);

struct CGameCommand {
    QString m_program;
    QStringList m_arguments;
};

// The command that runs program with arguments (see above). launcher may be empty.
CGameCommand MakeGameCommand(const QString& launcher, const QString& program,
                             const QStringList& arguments);

class CGameLauncher : public QObject {
    Q_OBJECT

public:
    explicit CGameLauncher(QObject* parent = nullptr);
    ~CGameLauncher() override;

    // Starts program with arguments in the folder workingDirectory (the editor's own working
    // directory is not changed). False, with a sentence for the user in error, when the program
    // or its launcher is missing or cannot be run, or the process does not start.
    bool Start(const QString& launcher, const QString& program, const QStringList& arguments,
               const QString& workingDirectory, QString& error);
    bool IsRunning() const { return m_process.state() != QProcess::NotRunning; }

signals:
    // The game has ended (also after a crash).
    void Finished();

private:
    QProcess m_process;
};
