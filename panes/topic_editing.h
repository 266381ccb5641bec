// Topic editing: the topic selected in the Contents tree is the one being
// edited. Its page travels between its file, the editor and the source view;
// it is stored before the selection moves and the new topic's page is loaded
// after; the label under the tree shows its context number.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

#include "platform/result.h"

class ContentsModel;
class EditingControl;
class HelpProject;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QModelIndex;
class QTreeView;
class QWidget;

// Shows a failure in an error box; false when `status` is one.
bool ReportFailure(QWidget* parent, const Status& status);

class TopicEditing : public QObject {
  Q_OBJECT
 public:
  struct Views {
    QWidget* window = nullptr;  // parent of the error boxes
    QTreeView* contentsTree = nullptr;
    const ContentsModel* contents = nullptr;  // shown by contentsTree
    EditingControl* editor = nullptr;
    QPlainTextEdit* sourceView = nullptr;
    QTabWidget* editorTabs = nullptr;  // Editor / Source
    QWidget* formatToolbar = nullptr;  // enabled while a project is open
    QLabel* contextLabel = nullptr;
    QPushButton* copyContextButton = nullptr;
  };
  TopicEditing(HelpProject& project, Views views, QObject* parent = nullptr);

  // --- the page of a topic ---
  Status LoadTopicPage(const QString& path);
  Status StoreEditorPage(const QString& path);
  // The editor's page in the form its file stores (card buttons as objects),
  // line by line, as of the editor's last settle; none when the editor did
  // not answer it.
  std::optional<QStringList> EditorPageLines();
  Status StoreSourcePage(const QString& path);
  // The source view's text with CR LF line ends.
  QString SourceText() const;
  // Shows a page's text in the source view, not modified.
  void SetSourceText(const QString& pageText);
  // The Source tab is the view in use.
  bool SourceInUse() const { return currentTab == 1; }
  // Brings the Editor (0) or Source (1) tab to the front and calls `shown`
  // once it is there: at once, or when the editor has given its page to the
  // source view. A refused switch, or a later request, drops `shown`.
  void ShowTab(int index, std::function<void()> shown);
  // The two views can change places: a topic can be edited.
  bool TabsCanSwitch() const;
  // The page in the view in use was changed since it was loaded (the
  // editor's undo, or the source view's own modified mark).
  bool PageHasUnsavedEdits() const;
  // The page on show differs from what its file holds (edited since it was
  // loaded or last stored).
  bool PageChangedSinceStored();
  // Empties the editor and the source view, which take no typing until a
  // page is loaded.
  void ClearPage();

  // --- the selected topic ---
  // Stores the page of the topic still selected when it has unsaved edits
  // (and, unless evenWithEmptySource, a page was loaded for it); false when
  // that failed (the failure is shown). These read the editor as of its
  // last settle: call them where it has settled (EditingControl::Settle).
  bool StoreSelectedTopic(const QModelIndex& selected, bool evenWithEmptySource = false);
  bool StoreCurrentTopic(bool evenWithEmptySource = false);
  void LoadSelectedTopic(const QModelIndex& node);
  // The label under the Contents tree shows the topic's context number.
  void ShowContextNumber();
  void CopyContextNumber();

  // While a command moves nodes, the tree's selection neither stores nor
  // loads pages; the guard restores the former state when it goes.
  class QuietSelection {
   public:
    explicit QuietSelection(TopicEditing& owner) : editing(owner), wasOff(owner.selectionOff) {
      owner.selectionOff = true;
    }
    ~QuietSelection() { editing.selectionOff = wasOff; }
    QuietSelection(const QuietSelection&) = delete;
    QuietSelection& operator=(const QuietSelection&) = delete;

   private:
    TopicEditing& editing;
    bool wasOff;
  };

 private:
  // The tab control's "changing" event; false refuses the switch.
  bool EditorTabChanging();
  // The switch to `index` is done (true) or refused: what waited for it runs or goes.
  void TabSwitchEnded(int index, bool done);
  // The editor and the source view take typing only while a page is loaded.
  void SetPageLoaded(bool loaded);
  void SelectionChanged(const QModelIndex& current, const QModelIndex& previous);
  bool Report(const Status& status) const { return ReportFailure(views.window, status); }

  HelpProject& project;
  Views views;
  int currentTab = 0;
  int seenEditorVersion = 0;  // the editor's change count last seen
  // What waits for a requested tab to come to the front.
  std::function<void()> whenTabShown;
  int tabAwaited = -1;
  bool selectionOff = false;
};
