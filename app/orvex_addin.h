/*
 * orvex_addin.h: the interface of an Orvex add-in.
 *
 * An add-in is a shared library (a file ending in ".so") placed in the
 * folder of the orvex program. At start-up Orvex lists every add-in under
 * "Tools" > "Add-ins" with the caption the add-in gives itself; choosing
 * that item runs the add-in once: Orvex asks it for a sequence of topic
 * titles, each with an optional piece of HTML, creates one topic per title
 * in the open project and appends the HTML (when it is longer than two
 * characters) at the end of the new topic's page.
 *
 * An add-in exports three functions with C linkage. Texts are UTF-8 and
 * end with a zero byte.
 *
 *   Name(caption)
 *     caption points to a buffer of ORVEX_ADDIN_TEXT_SIZE (256) bytes. Write
 *     the menu caption there, zero byte included (at most 255 bytes of text).
 *
 *   FirstTopic(title, html)
 *     title points to a buffer of 256 bytes, html to a pointer variable that
 *     starts as NULL. Write the first topic's title into the buffer; an
 *     empty title means there are no topics. Optionally set *html to the
 *     topic's HTML; that text must stay valid until the add-in's next call.
 *
 *   NextTopic(title, html)
 *     The same for the following topic; an empty title ends the sequence.
 *     Write the title on every call: Orvex does not clear the buffer or the
 *     pointer between calls.
 *
 * An add-in that reads its topics from a folder the user picks may export
 * a fourth function:
 *
 *   FolderPrompt(prompt)
 *     prompt points to a buffer of 256 bytes. Write the caption of the
 *     folder question ("Folder of text files"), or an empty text when the
 *     add-in already has a folder of its own. With a caption, Orvex asks the
 *     user for the folder before each run (starting from the one chosen
 *     last time, which it remembers) and hands it to the run in the
 *     environment variable ORVEX_ADDIN_FOLDER; cancelling the question
 *     cancels the run.
 *
 * Orvex calls these functions in a helper process of its own
 * (orvex-addin-probe, installed beside the program), so an add-in that
 * crashes or hangs cannot take the open project with it. Consequences for
 * add-in authors:
 *   - Name is called once at start-up, FolderPrompt and FirstTopic/NextTopic
 *     once per run;
 *     the library is loaded freshly for each, so keep no state between runs
 *     other than in files.
 *   - Every call must finish within the helper's deadline (10 seconds for
 *     Name, 120 seconds for a whole run).
 *   - A run yields at most 1000 topics; the project's page names give out
 *     after 99 topics anyway.
 *   - Standard output belongs to Orvex; write diagnostics to stderr.
 *
 * Build an add-in with, for example:
 *   cc -shared -fPIC -o myaddin.so myaddin.c
 */
#ifndef ORVEX_ADDIN_H
#define ORVEX_ADDIN_H

#define ORVEX_ADDIN_TEXT_SIZE 256
/* The environment variable that hands a run the folder the user chose. */
#define ORVEX_ADDIN_FOLDER_VARIABLE "ORVEX_ADDIN_FOLDER"

#if defined(__GNUC__)
#define ORVEX_ADDIN_EXPORT __attribute__((visibility("default")))
#else
#define ORVEX_ADDIN_EXPORT
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* The three exports, as an add-in defines them. */
ORVEX_ADDIN_EXPORT void Name(char* caption);
ORVEX_ADDIN_EXPORT void FirstTopic(char* title, const char** html);
ORVEX_ADDIN_EXPORT void NextTopic(char* title, const char** html);
/* Optional. */
ORVEX_ADDIN_EXPORT void FolderPrompt(char* prompt);

/* The same as Orvex looks them up. */
typedef void (*OrvexAddinNameProc)(char* caption);
typedef void (*OrvexAddinTopicProc)(char* title, const char** html);
typedef void (*OrvexAddinFolderPromptProc)(char* prompt);

#ifdef __cplusplus
}
#endif

#endif /* ORVEX_ADDIN_H */
