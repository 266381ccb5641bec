// The compiler messages' way to the topics: a message that names a page
// names the topic that shows it, and opens it (in Source view at the line
// the message names).
#pragma once

class CompilerMessagesWindow;
class QPlainTextEdit;
class QTreeView;
class TopicEditing;

void ConnectMessageTopics(CompilerMessagesWindow* messages, QTreeView* contentsTree, TopicEditing* topics,
                          QPlainTextEdit* sourceView);
