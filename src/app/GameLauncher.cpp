#include "app/GameLauncher.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

// How long a start may take before it counts as failed.
constexpr int kStartMilliseconds = 10000;

QString Native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

// The launcher words of the setting, split as a shell splits a word list: blanks separate words;
// '...' keeps everything up to the next ', "..." everything up to the next " but for \" and \\;
// a backslash outside quotes keeps the character after it. Empty when it holds no word.
QStringList LauncherWords(const QString& launcher)
{
    QStringList words;
    QString word;
    bool inWord = false;
    QChar quote;
    for (qsizetype i = 0; i < launcher.size(); ++i) {
        const QChar c = launcher[i];
        if (quote == QLatin1Char('\'')) {
            if (c == quote)
                quote = QChar();
            else
                word += c;
        } else if (quote == QLatin1Char('"')) {
            if (c == quote)
                quote = QChar();
            else if (c == QLatin1Char('\\') && i + 1 < launcher.size() &&
                     (launcher[i + 1] == QLatin1Char('"') || launcher[i + 1] == QLatin1Char('\\')))
                word += launcher[++i];
            else
                word += c;
        } else if (c.isSpace()) {
            if (inWord)
                words << word;
            word.clear();
            inWord = false;
        } else {
            inWord = true;
            if (c == QLatin1Char('\'') || c == QLatin1Char('"'))
                quote = c;
            else if (c == QLatin1Char('\\') && i + 1 < launcher.size())
                word += launcher[++i];
            else
                word += c;
        }
    }
    if (inWord)
        words << word;
    return words;
}

// A program named by path, or found on the search path when it is a bare name.
QString FindProgram(const QString& name)
{
    if (name.contains(QLatin1Char('/'))) {
        const QFileInfo info(name);
        return info.isFile() && info.isExecutable() ? info.absoluteFilePath() : QString();
    }
    return QStandardPaths::findExecutable(name);
}

}  // namespace

bool IsWindowsProgram(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return file.read(2) == QByteArrayLiteral("MZ");
}

CGameCommand MakeGameCommand(const QString& launcher, const QString& program,
                             const QStringList& arguments)
{
    QStringList words = LauncherWords(launcher);
    if (words.isEmpty() && IsWindowsProgram(program))
        words = {QString::fromLatin1(kDefaultWindowsLauncher)};
    if (words.isEmpty())
        return {program, arguments};
    CGameCommand command{words.takeFirst(), words};
    command.m_arguments << program << arguments;
    return command;
}

CGameLauncher::CGameLauncher(QObject* parent) : QObject(parent)
{
    connect(&m_process, &QProcess::finished, this, &CGameLauncher::Finished);
}

CGameLauncher::~CGameLauncher() = default;

bool CGameLauncher::Start(const QString& launcher, const QString& program,
                          const QStringList& arguments, const QString& workingDirectory,
                          QString& error)
{
    const QFileInfo info(program);
    if (!info.isFile()) {
        error =
            QStringLiteral("Cannot start the game: \"%1\" does not exist.").arg(Native(program));
        return false;
    }
    const CGameCommand command = MakeGameCommand(launcher, program, arguments);
    const QString found = FindProgram(command.m_program);
    if (found.isEmpty()) {
        error = command.m_program == program
                    ? QStringLiteral("Cannot start the game: \"%1\" is not a program that can be "
                                     "run.")
                          .arg(Native(program))
                    : QStringLiteral("Cannot start the game \"%1\": its launcher \"%2\" cannot be "
                                     "found or run.")
                          .arg(Native(program), command.m_program);
        return false;
    }
    m_process.setWorkingDirectory(workingDirectory);
    m_process.setProcessChannelMode(QProcess::ForwardedChannels);
    m_process.start(found, command.m_arguments);
    if (!m_process.waitForStarted(kStartMilliseconds)) {
        error = QStringLiteral("Cannot start the game \"%1\": %2")
                    .arg(Native(program), m_process.errorString());
        return false;
    }
    return true;
}
