// The Contents and Index models: the operations of contents and index
// editing on the trees of an open project, without any view.
#include <gtest/gtest.h>

#include <QLocale>

#include "model/contents_model.h"
#include "model/index_model.h"
#include "formats/sitemap/index_order.h"
#include "formats/sitemap/sitemap_reader.h"
#include "formats/sitemap/sitemap_writer.h"

namespace {

// Nodes in a row, moved into a forest (nodes hold records only they own).
template <typename Node, typename... More>
std::vector<Node> Forest(Node&& first, More&&... more) {
  std::vector<Node> forest;
  forest.push_back(std::move(first));
  (forest.push_back(std::move(more)), ...);
  return forest;
}

ContentsNode Topic(const QString& caption, const QString& file, std::vector<ContentsNode> children = {}) {
  ContentsNode node;
  node.caption = caption;
  if (!file.isNull()) node.data = std::make_unique<TopicData>(TopicData{file, {}});
  node.children = std::move(children);
  return node;
}

IndexNode Keyword(const QString& caption, const QString& file, std::vector<IndexNode> children = {}) {
  IndexNode node;
  node.caption = caption;
  if (!file.isNull())
    node.data = std::make_unique<IndexEntryData>(IndexEntryData{caption, file, caption + " topic"});
  node.children = std::move(children);
  return node;
}

// The tree as one line: captions, children in brackets, "=file" for records.
template <typename Model>
QString Shape(const Model& model, const QModelIndex& parent = {}) {
  QStringList parts;
  for (int row = 0; row < model.rowCount(parent); ++row) {
    const QModelIndex at = model.index(row, 0, parent);
    QString part = model.CaptionAt(at);
    if (const auto* record = model.RecordAt(at)) part += "=" + record->fileName;
    if (model.rowCount(at) > 0) part += "[" + Shape(model, at) + "]";
    parts << part;
  }
  return parts.join(' ');
}

// A tree: A(1) [A1(2) [A1a(3)], A2(4)], B(5), C(6)
void FillSample(ContentsModel& model) {
  model.Fill(
      Forest(Topic("A", "p1.htm",
                   Forest(Topic("A1", "p2.htm", Forest(Topic("A1a", "p3.htm"))), Topic("A2", "p4.htm"))),
             Topic("B", "p5.htm"), Topic("C", "p6.htm")));
}

}  // namespace

TEST(ContentsModelTest, FillAndForestKeepOrderCaptionsRecordsAndParameters) {
  ContentsModel model;
  auto forest = Forest(Topic("Heading", QString(), Forest(Topic("One", "p1.htm"))), Topic("Two", "p2.htm"));
  forest[1].data->params.push_back({"ImageNumber", "11", ParamRole::Other});
  model.Fill(std::move(forest));
  EXPECT_EQ(Shape(model), "Heading[One=p1.htm] Two=p2.htm");

  const std::vector<ContentsNode> copy = model.Forest();
  ASSERT_EQ(copy.size(), 2u);
  EXPECT_EQ(copy[0].data, nullptr);  // a heading has no record
  ASSERT_EQ(copy[1].data->params.size(), 1u);
  EXPECT_EQ(copy[1].data->params[0].value, "11");
  // The model keeps its own records.
  copy[1].data->fileName = "changed.htm";
  EXPECT_EQ(model.RecordAt(model.index(1, 0))->fileName, "p2.htm");
  model.Clear();
  EXPECT_EQ(model.rowCount(), 0);
}

TEST(ContentsModelTest, DeepTreesFillCopyAndFreeWithoutRecursion) {
  ContentsNode root = Topic("level 0", "p.htm");
  for (int level = 1; level < 100000; ++level) {
    ContentsNode parent = Topic(QString("level %1").arg(level), "p.htm");
    parent.children.push_back(std::move(root));
    root = std::move(parent);
  }
  {
    ContentsModel model;
    model.Fill(Forest(std::move(root)));
    QModelIndex deepest = model.index(0, 0);
    while (model.rowCount(deepest) > 0) deepest = model.index(0, 0, deepest);
    EXPECT_EQ(model.CaptionAt(deepest), "level 0");
    EXPECT_EQ(model.Level(deepest), 99999);
    std::vector<ContentsNode> copy = model.Forest();
    // The copy is freed level by level too.
    ASSERT_EQ(copy.size(), 1u);
    while (!copy.empty()) {
      std::vector<ContentsNode> next = std::move(copy[0].children);
      copy = std::move(next);
    }
  }
}

TEST(ContentsModelTest, NewTopicGoesRightAfterTheSelectedOneOrBecomesItsLastChild) {
  ContentsModel model;
  FillSample(model);
  const QModelIndex a1 = model.index(0, 0, model.index(0, 0));
  const QModelIndex after = model.CreateTopic(a1, "New", "p7.htm");
  EXPECT_EQ(model.CaptionAt(after.parent()), "A");
  EXPECT_EQ(after.row(), 1);
  const QModelIndex sub = model.CreateTopic(a1, "Sub", "p8.htm", true);
  EXPECT_EQ(sub.parent(), a1);
  EXPECT_EQ(sub.row(), 1);
  model.CreateTopic(QModelIndex(), "Top", "p9.htm");
  model.CreateTopic(QModelIndex(), "Top sub", "p10.htm", true);  // nothing selected: first level
  EXPECT_EQ(Shape(model),
            "A=p1.htm[A1=p2.htm[A1a=p3.htm Sub=p8.htm] New=p7.htm A2=p4.htm] B=p5.htm C=p6.htm Top=p9.htm "
            "Top sub=p10.htm");
}

TEST(ContentsModelTest, DeletingATopicAnswersThePagesNoOtherTopicShows) {
  ContentsModel model;
  model.Fill(Forest(Topic("A", "p1.htm",
                          Forest(Topic("A1", "p2.htm"), Topic("A2", "p2.htm"), Topic("Heading", QString()),
                                 Topic("A3", "shared.htm"))),
                    Topic("B", "shared.htm")));
  int removals = 0;
  QObject::connect(&model, &QAbstractItemModel::rowsRemoved, [&] { ++removals; });
  // p2.htm once, in document order; shared.htm stays with B.
  EXPECT_EQ(model.DeleteTopic(model.index(0, 0)), QStringList({"p1.htm", "p2.htm"}));
  EXPECT_EQ(removals, 1);
  EXPECT_EQ(Shape(model), "B=shared.htm");
  EXPECT_EQ(model.DeleteTopic(model.index(0, 0)), QStringList({"shared.htm"}));
  EXPECT_EQ(model.rowCount(), 0);
  EXPECT_TRUE(model.DeleteTopic(QModelIndex()).isEmpty());
}

TEST(ContentsModelTest, MovingATopicFollowsTheDropAndKeepsItsIndex) {
  ContentsModel model;
  FillSample(model);
  auto at = [&](std::initializer_list<int> rows) {
    QModelIndex index;
    for (int row : rows) index = model.index(row, 0, index);
    return index;
  };
  // On an item: its last child; the view's index follows the moved node.
  const QPersistentModelIndex c = at({2});
  ASSERT_TRUE(model.MoveTopic(c, ContentsDrop::AsLastChild, at({0, 0})));
  EXPECT_EQ(model.CaptionAt(c), "C");
  EXPECT_EQ(model.Level(c), 2);
  // Before an item, forwards and backwards at one level.
  ASSERT_TRUE(model.MoveTopic(at({0}), ContentsDrop::BeforeItem, at({1})));
  EXPECT_EQ(Shape(model), "A=p1.htm[A1=p2.htm[A1a=p3.htm C=p6.htm] A2=p4.htm] B=p5.htm");
  ASSERT_TRUE(model.MoveTopic(at({0, 1}), ContentsDrop::BeforeItem, at({0, 0})));
  EXPECT_EQ(Shape(model), "A=p1.htm[A2=p4.htm A1=p2.htm[A1a=p3.htm C=p6.htm]] B=p5.htm");
  // Below the items: the end of the first level.
  ASSERT_TRUE(model.MoveTopic(at({0, 1, 1}), ContentsDrop::AtEndOfTopLevel, QModelIndex()));
  EXPECT_EQ(Shape(model), "A=p1.htm[A2=p4.htm A1=p2.htm[A1a=p3.htm]] B=p5.htm C=p6.htm");
  // Never into its own subtree, never without a target, never on "nothing".
  const QString before = Shape(model);
  EXPECT_FALSE(model.MoveTopic(at({0}), ContentsDrop::AsLastChild, at({0, 1, 0})));
  EXPECT_FALSE(model.MoveTopic(at({0}), ContentsDrop::BeforeItem, at({0, 1})));
  EXPECT_FALSE(model.MoveTopic(at({0}), ContentsDrop::AsLastChild, at({0})));
  EXPECT_FALSE(model.MoveTopic(at({1}), ContentsDrop::BeforeItem, QModelIndex()));
  EXPECT_FALSE(model.MoveTopic(at({1}), ContentsDrop::Nothing, at({0})));
  EXPECT_EQ(Shape(model), before);
}

TEST(ContentsModelTest, RenameAndSubtopicLinksUseTheCaptions) {
  ContentsModel model;
  model.Fill(Forest(Topic("A", "p1.htm", Forest(Topic("A1", "p2.htm"), Topic("Heading", QString())))));
  const QModelIndex a = model.index(0, 0);
  int changes = 0;
  QObject::connect(&model, &QAbstractItemModel::dataChanged, [&] { ++changes; });
  ASSERT_TRUE(model.setData(model.index(0, 0, a), "First"));
  EXPECT_EQ(changes, 1);
  EXPECT_TRUE(model.flags(a) & Qt::ItemIsEditable);
  EXPECT_TRUE(model.flags(a) & Qt::ItemIsDropEnabled);
  const std::vector<SubtopicLink> links = model.SubtopicLinks(a);
  ASSERT_EQ(links.size(), 2u);
  EXPECT_EQ(links[0].caption, "First");
  EXPECT_EQ(links[0].fileName, "p2.htm");
  EXPECT_EQ(links[1].caption, "Heading");
  EXPECT_EQ(links[1].fileName, "");
  EXPECT_TRUE(model.SubtopicLinks(model.index(0, 0, a)).empty());
  EXPECT_EQ(model.Forest()[0].children[0].caption, "First");
}

// The order of captions follows the language in use; set for one test.
class LanguageOrder {
 public:
  explicit LanguageOrder(const QLocale& locale) { QLocale::setDefault(locale); }
  ~LanguageOrder() { QLocale::setDefault(was); }

 private:
  QLocale was;
};

// The Index shows its keywords in the order the index file is written in:
// letter case ignored, equal captions as read.
TEST(IndexModelTest, EveryLevelIsInTheOrderTheIndexFileIsWrittenIn) {
  const auto sample = [] {
    return Forest(Keyword("b", "1.htm"), Keyword("Zebra", "2.htm"), Keyword("a", "3.htm"),
                  Keyword("B", "4.htm"),
                  Keyword("apple", "5.htm", Forest(Keyword("z", "6.htm"), Keyword("Y", "7.htm"))));
  };
  const auto written = [](std::vector<IndexNode> nodes) {
    SortIndexNodes(nodes);
    QStringList captions;
    for (const IndexNode& node : nodes) captions << node.caption;
    return captions.join(' ');
  };
  {
    const LanguageOrder plain(QLocale::c());
    IndexModel model;
    model.Fill(sample());
    EXPECT_EQ(Shape(model), "a=3.htm apple=5.htm[Y=7.htm z=6.htm] b=1.htm B=4.htm Zebra=2.htm");
    EXPECT_EQ(written(sample()), "a apple b B Zebra");
    // What is saved is what is shown.
    const std::vector<IndexNode> saved = model.Forest();
    EXPECT_EQ(saved[1].children[0].caption, "Y");
  }
  const LanguageOrder german(QLocale(QLocale::German, QLocale::Germany));
  IndexModel model;
  model.Fill(Forest(Keyword("b", "1.htm"), Keyword("Zeta", "2.htm"), Keyword("B", "3.htm"),
                    Keyword("Ära", "4.htm"), Keyword("a", "5.htm")));
  EXPECT_EQ(Shape(model), "a=5.htm Ära=4.htm b=1.htm B=3.htm Zeta=2.htm");
  EXPECT_EQ(written(model.Forest()), "a Ära b B Zeta");
}

TEST(IndexModelTest, NewEntriesGoWhereTheDropPutsThemAndAKeywordIsOneNode) {
  IndexModel model;
  model.Fill(
      Forest(Keyword("paper", "p1.htm"), Keyword("print", QString(), Forest(Keyword("ink", "p2.htm")))));
  const auto files = [&](const QModelIndex& node) {
    QStringList names;
    for (const IndexEntryData* topic : model.TopicsAt(node)) names << topic->fileName;
    return names.join(' ');
  };
  // A keyword its level holds already gets one more topic: still one node.
  const QModelIndex paper = model.AddEntry(AttachMode::TopLevel, QModelIndex(), "paper", "p3.htm", "Topic 3");
  EXPECT_EQ(paper, model.index(0, 0));
  EXPECT_EQ(model.rowCount(), 2);
  EXPECT_EQ(files(paper), "p1.htm p3.htm");
  // On the keyword itself (letter case ignored): one more topic, no sub-entry; a topic it has adds nothing.
  EXPECT_EQ(model.AddEntry(AttachMode::Child, paper, "PAPER", "p5.htm", "Topic 5"), paper);
  model.AddEntry(AttachMode::Child, paper, "paper", "p5.htm", "Topic 5");
  EXPECT_EQ(files(paper), "p1.htm p3.htm p5.htm");
  EXPECT_EQ(model.rowCount(paper), 0);
  // Other text on a keyword: a keyword under it, which keeps its topics.
  const QModelIndex a4 = model.AddEntry(AttachMode::Child, paper, "a4", "p4.htm", "Topic 4");
  EXPECT_EQ(a4.parent(), paper);
  EXPECT_EQ(files(paper), "p1.htm p3.htm p5.htm");
  // Beside an entry: under the same keyword; beside a keyword: on the first level.
  const QModelIndex print = model.index(1, 0);
  ASSERT_EQ(model.CaptionAt(print), "print");
  model.AddEntry(AttachMode::Sibling, model.index(0, 0, print), "cartridge", "p5.htm", "Topic 5");
  EXPECT_EQ(Shape(model, model.index(1, 0)), "cartridge=p5.htm ink=p2.htm");
  model.AddEntry(AttachMode::Sibling, model.index(0, 0), "a", "p6.htm", "Topic 6");
  EXPECT_EQ(model.CaptionAt(model.index(0, 0)), "a");
  // Nothing for no attachment or a child of no keyword.
  const QString before = Shape(model);
  EXPECT_FALSE(model.AddEntry(AttachMode::None, paper, "x", "p7.htm", "").isValid());
  EXPECT_FALSE(model.AddEntry(AttachMode::Child, QModelIndex(), "x", "p7.htm", "").isValid());
  EXPECT_EQ(Shape(model), before);
  // Removing its topics one by one: the next takes the node's place, the last takes the node
  // unless it has keywords under it.
  ASSERT_TRUE(model.RemoveTopic(paper, 0));
  EXPECT_EQ(files(paper), "p3.htm p5.htm");
  ASSERT_TRUE(model.RemoveTopic(paper, 1));
  ASSERT_TRUE(model.RemoveTopic(paper, 0));
  EXPECT_EQ(files(paper), "");
  EXPECT_EQ(model.rowCount(paper), 1);
}

TEST(IndexModelTest, SameKeywordsOfAFileAreOneNodeAndAreWrittenBackWithEveryTopic) {
  IndexModel model;
  model.Fill(
      ReadIndexFile("<UL>\r\n"
                    "<LI> <OBJECT type=\"text/sitemap\"><param name=\"Keyword\" value=\"widget\">"
                    "<param name=\"Name\" value=\"A\"><param name=\"Local\" value=\"a.htm\">"
                    "<param name=\"Name\" value=\"B\"><param name=\"Local\" value=\"b.htm\"></OBJECT>\r\n"
                    "<LI> <OBJECT type=\"text/sitemap\"><param name=\"Keyword\" value=\"widget\">"
                    "<param name=\"Name\" value=\"C\"><param name=\"Local\" value=\"c.htm\"></OBJECT>\r\n"
                    "</UL>\r\n"));
  ASSERT_EQ(model.rowCount(), 1);
  EXPECT_EQ(model.TopicsAt(model.index(0, 0)).size(), 3u);
  // One more topic made here joins the item of the last pair read.
  model.AddTopic(model.index(0, 0), "d.htm", "D");
  const QString text = IndexFileText(model.Forest());
  EXPECT_EQ(text.count("<OBJECT"), 2) << text.toStdString();
  for (const char* file : {"a.htm", "b.htm", "c.htm", "d.htm"}) EXPECT_TRUE(text.contains(file)) << file;
  EXPECT_TRUE(text.contains("value=\"c.htm\">\r\n<param name=\"Name\" value=\"D\">")) << text.toStdString();
  // Read again, the same one node.
  IndexModel again;
  again.Fill(ReadIndexFile(text));
  EXPECT_EQ(again.rowCount(), 1);
  EXPECT_EQ(again.TopicsAt(again.index(0, 0)).size(), 4u);
}

TEST(IndexModelTest, AKeywordLeftWithOneEntryTakesItsTopic) {
  IndexModel model;
  model.Fill(Forest(Keyword("group", QString(), Forest(Keyword("one", "p1.htm"), Keyword("two", "p2.htm"))),
                    Keyword("held", "p9.htm", Forest(Keyword("a", "p3.htm"), Keyword("b", QString()))),
                    Keyword("nested", QString(),
                            Forest(Keyword("deep", QString(), Forest(Keyword("x", "p4.htm"))),
                                   Keyword("leaf", "p5.htm")))));
  // A keyword without a record gets one, with the last entry's page.
  model.RemoveEntry(model.index(1, 0, model.index(0, 0)));
  EXPECT_EQ(Shape(model, QModelIndex()).section(' ', 0, 0), "group=p1.htm");
  const IndexEntryData* group = model.RecordAt(model.index(0, 0));
  EXPECT_EQ(group->keyword, "group");
  EXPECT_EQ(group->topicCaption, "one topic");
  // The last entry has no record: the keyword keeps its keyword and leads nowhere.
  model.RemoveEntry(model.index(0, 0, model.index(1, 0)));
  EXPECT_EQ(model.rowCount(model.index(1, 0)), 0);
  EXPECT_EQ(model.RecordAt(model.index(1, 0))->keyword, "held");
  EXPECT_EQ(model.RecordAt(model.index(1, 0))->fileName, "");
  // The one left has entries of its own: no folding.
  model.RemoveEntry(model.index(1, 0, model.index(2, 0)));
  EXPECT_EQ(Shape(model, model.index(2, 0)), "deep[x=p4.htm]");
}

TEST(IndexModelTest, EntriesLeadingToADeletedPageGoWithFolding) {
  IndexModel model;
  model.Fill(Forest(
      Keyword("a", "gone.htm"),
      Keyword("b", QString(), Forest(Keyword("b1", "gone.htm"), Keyword("b2", "kept.htm"))),
      Keyword("c", QString(),
              Forest(Keyword("c1", "gone.htm"), Keyword("c2", "gone.htm"), Keyword("c3", "kept.htm")))));
  // "b" folds onto b2; "c" keeps c3 and takes its page.
  EXPECT_EQ(model.RemoveEntriesLeadingTo("gone.htm"), 4);
  EXPECT_EQ(Shape(model), "b=kept.htm c=kept.htm");
  EXPECT_EQ(model.RemoveEntriesLeadingTo("gone.htm"), 0);
  EXPECT_EQ(model.RemoveEntriesLeadingTo(""), 0);
  EXPECT_EQ(model.RemoveEntriesLeadingTo("kept.htm"), 2);
  EXPECT_EQ(model.rowCount(), 0);
}

TEST(IndexModelTest, ARenamedKeywordMovesToItsPlaceAndViewIndexesFollow) {
  IndexModel model;
  model.Fill(Forest(Keyword("apple", "1.htm"), Keyword("mango", "2.htm"), Keyword("mango", "3.htm"),
                    Keyword("pear", "4.htm")));
  // The two mangos are one keyword with two topics.
  ASSERT_EQ(model.rowCount(), 3);
  const QPersistentModelIndex apple = model.index(0, 0);
  ASSERT_TRUE(model.setData(apple, "zucchini"));
  EXPECT_EQ(apple.row(), 2);
  EXPECT_EQ(Shape(model), "mango=2.htm pear=4.htm zucchini=1.htm");
  // Renamed to come first: the first place.
  ASSERT_TRUE(model.setData(apple, "banana"));
  EXPECT_EQ(apple.row(), 0);
  EXPECT_EQ(Shape(model), "banana=1.htm mango=2.htm pear=4.htm");
  // Renamed to the text of another keyword: one keyword with the topics of both.
  ASSERT_TRUE(model.setData(model.index(2, 0), "mango"));
  ASSERT_EQ(model.rowCount(), 2);
  ASSERT_EQ(model.TopicsAt(model.index(1, 0)).size(), 3u);
  EXPECT_EQ(model.TopicsAt(model.index(1, 0))[2]->fileName, "4.htm");
  // A view that sorts gets the same order.
  model.sort(0);
  EXPECT_EQ(Shape(model), "banana=1.htm mango=2.htm");
}
