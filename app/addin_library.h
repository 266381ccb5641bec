// Add-in libraries: finding them, asking them for their caption and their
// topics. The calls into a library happen in a helper process
// (orvex-addin-probe) so that a library that crashes or hangs cannot take
// the program with it; the in-process functions below are what that helper
// runs.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

struct AddinTopic {
  QString title;
  QString html;  // empty when the add-in gave none
};

// The name of the helper program beside the program.
inline constexpr char kAddinProbeName[] = "orvex-addin-probe";
// Deadlines for the helper: the caption, and a whole run.
inline constexpr int kAddinNameTimeoutMs = 10000;
inline constexpr int kAddinRunTimeoutMs = 120000;
// The most topics one run hands over.
inline constexpr int kAddinMaxTopics = 1000;

// The shared libraries ("*.so", regular files) of a folder, full paths,
// sorted by file name so the menu order is stable.
QStringList AddinCandidates(const QString& folder);

// --- in process (the helper program) ---
enum class AddinStatus { Ok, NotLoadable, NotAnAddin };

struct AddinNameResult {
  AddinStatus status = AddinStatus::NotLoadable;
  QString caption;
};

// Loads the library, calls its "Name" export with a zeroed 256-byte buffer
// and unloads it. The caption is the buffer's text up to the first zero
// byte (never past the buffer).
AddinNameResult CallAddinName(const QString& path);

// Loads the library and calls its optional "FolderPrompt" export: the
// caption of the folder question, empty when the add-in needs no folder
// from the program (no such export, or a folder of its own).
AddinNameResult CallAddinFolderPrompt(const QString& path);

// Loads the library and walks its FirstTopic/NextTopic sequence, handing
// each topic to `take` until an empty title, `take` answering false, or
// kAddinMaxTopics topics. NotAnAddin when either export is missing.
AddinStatus CallAddinTopics(const QString& path, const std::function<bool(const AddinTopic&)>& take);

// The helper's output for one topic: title, zero byte, HTML, zero byte
// (UTF-8; neither text can hold a zero byte).
QByteArray EncodeAddinTopic(const AddinTopic& topic);
// The topics of the helper's output; an incomplete last record is dropped.
QList<AddinTopic> DecodeAddinTopics(const QByteArray& stream);

// --- from the program ---
// The helper program: orvex-addin-probe in programFolder; empty when absent.
QString AddinProbeProgram(const QString& programFolder);

// The library's caption, nullopt when it does not load, is no add-in, or
// crashes or hangs. With no helper program the library is called in process.
std::optional<QString> ReadAddinName(const QString& probe, const QString& path,
                                     int timeoutMs = kAddinNameTimeoutMs);
// The caption of the library's folder question, empty when it needs no
// folder; nullopt when it does not load, crashes or hangs.
std::optional<QString> ReadAddinFolderPrompt(const QString& probe, const QString& path,
                                             int timeoutMs = kAddinNameTimeoutMs);
// The library's topics, nullopt when it does not load or lacks an export.
// A library that crashes or runs past the deadline gives the topics it
// handed over before that. A folder is handed to the run in the environment
// variable ORVEX_ADDIN_FOLDER_VARIABLE (app/orvex_addin.h) names.
std::optional<QList<AddinTopic>> ReadAddinTopics(const QString& probe, const QString& path,
                                                 const QString& folder = QString(),
                                                 int timeoutMs = kAddinRunTimeoutMs);

// The helper program's body: "name LIB", "folder LIB" or "topics LIB". Exit codes: 0 done,
// 2 usage, 3 no add-in, 4 not loadable.
int RunAddinProbe(const QStringList& arguments);
