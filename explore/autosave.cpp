#include "autosave.h"

#include "case_document.h"
#include "exploration.h"
#include "safe_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>
#include <QTimer>
#include <QUndoStack>
#include <QUuid>

#include <nlohmann/json.hpp>

#include <algorithm>

namespace explore {
namespace {

constexpr const char *kFormat = "warmtegloed-autosave";
const QString kSuffix = QStringLiteral(".autosave");
const QString kLockSuffix = QStringLiteral(".lock");

QString lockFileOf(const QString &copy)
{
    QString lock = copy;
    lock.chop(kSuffix.size());
    return lock + kLockSuffix;
}

// Reads a copy; an unusable one keeps its file and gets the reason.
Autosave::Orphan readCopy(const QString &path)
{
    Autosave::Orphan orphan;
    orphan.file = path;
    orphan.written = QFileInfo(path).lastModified();
    QFile file(path);
    QByteArray bytes;
    if (file.open(QIODevice::ReadOnly))
        bytes = file.read(qint64(casefile::kMaximumSize) * 2);
    const nlohmann::json copy = nlohmann::json::parse(bytes.begin(), bytes.end(), nullptr, false);
    const auto text = copy.is_object() ? copy.find("case") : copy.end();
    if (copy.is_discarded() || !copy.is_object() || copy.value("format", std::string()) != kFormat
        || text == copy.end() || !text->is_string()) {
        orphan.error = QStringLiteral("de kopie is beschadigd");
        return orphan;
    }
    orphan.casePath = QString::fromStdString(copy.value("path", std::string()));
    const casefile::ReadResult read =
        casefile::ReadCase(text->get_ref<const std::string &>(), LocaleDecimalSeparator());
    if (!read.ok)
        orphan.error = QString::fromStdString(read.error);
    else
        orphan.value = read.value;
    return orphan;
}

} // namespace

Autosave::Autosave(CaseDocument *document, QObject *parent)
    : QObject(parent)
    , m_document(document)
    , m_timer(new QTimer(this))
    , m_id(QUuid::createUuid().toString(QUuid::WithoutBraces))
{
    m_timer->setSingleShot(true);
    m_timer->setInterval(kIntervalMs);
    connect(m_timer, &QTimer::timeout, this, [this] { writeNow(); });
    connect(m_document->undoStack(), &QUndoStack::indexChanged, this, &Autosave::changed);
    connect(m_document, &CaseDocument::modifiedChanged, this, &Autosave::changed);
    connect(m_document, &CaseDocument::replaced, this, &Autosave::changed);
}

Autosave::~Autosave() = default;

QString Autosave::folder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/autosave");
}

QString Autosave::file() const
{
    return folder() + QLatin1Char('/') + m_id + kSuffix;
}

void Autosave::setInterval(int milliseconds)
{
    m_timer->setInterval(milliseconds);
}

void Autosave::changed()
{
    // Saved or undone: no copy is needed any more, and an old one would be offered wrongly.
    if (!m_document->isModified()) {
        m_timer->stop();
        QFile::remove(file());
        return;
    }
    // The first unsaved change starts the clock; later ones ride along with it.
    if (!m_timer->isActive())
        m_timer->start();
}

// The lock goes before the copy, so that no starting window takes a running one's copy.
bool Autosave::takeLock()
{
    if (m_lock)
        return true;
    if (!QDir().mkpath(folder()))
        return false;
    auto lock = std::make_unique<QLockFile>(folder() + QLatin1Char('/') + m_id + kLockSuffix);
    lock->setStaleLockTime(0);
    if (!lock->tryLock())
        return false;
    m_lock = std::move(lock);
    return true;
}

bool Autosave::writeNow(QString *error)
{
    m_timer->stop();
    if (!m_document->isModified()) {
        QFile::remove(file());
        return true;
    }
    QString reason;
    bool written = false;
    if (!takeLock()) {
        reason = QStringLiteral("De automatische kopie kan niet worden bewaard in „%1”.")
                     .arg(QDir::toNativeSeparators(folder()));
    } else {
        nlohmann::json copy;
        copy["format"] = kFormat;
        copy["path"] = m_document->path().toStdString();
        copy["case"] = m_document->textFor(m_document->path());
        const std::string text = copy.dump();
        written = platform::SafeFile::write(file(), QByteArray(text.data(), qsizetype(text.size())), &reason);
    }
    if (error)
        *error = reason;
    // One word about a failing copy, not one every interval.
    if (!written && reason != m_lastError)
        emit failed(reason);
    m_lastError = reason;
    return written;
}

void Autosave::discard()
{
    m_timer->stop();
    QFile::remove(file());
}

std::vector<Autosave::Orphan> Autosave::claimOrphans()
{
    std::vector<Orphan> found;
    const QDir dir(folder());
    const QStringList copies = dir.entryList({QLatin1Char('*') + kSuffix}, QDir::Files);
    for (const QString &name : copies) {
        const QString path = dir.filePath(name);
        if (path == file())
            continue;
        auto lock = std::make_unique<QLockFile>(lockFileOf(path));
        lock->setStaleLockTime(0);
        // A window that still runs holds its lock; a killed one's lock is stale.
        if (!lock->tryLock())
            continue;
        found.push_back(readCopy(path));
        m_claimed.push_back(std::move(lock));
    }
    std::sort(found.begin(), found.end(),
              [](const Orphan &a, const Orphan &b) { return a.written > b.written; });
    return found;
}

void Autosave::forget(const Orphan &orphan)
{
    QFile::remove(orphan.file);
    const QString lockFile = lockFileOf(orphan.file);
    const auto held =
        std::find_if(m_claimed.begin(), m_claimed.end(),
                     [&](const std::unique_ptr<QLockFile> &lock) { return lock->fileName() == lockFile; });
    if (held != m_claimed.end())
        m_claimed.erase(held); // unlocking removes the lock file
}

} // namespace explore
