#include "formats/sitemap/sitemap_writer.h"

#include "platform/html_text.h"
#include "platform/text_file.h"

#include <algorithm>

namespace {

void Line(QString& out, const QString& text) {
  out += text;
  out += QLatin1String("\r\n");
}

void Line(QString& out, QLatin1String text) {
  out += text;
  out += QLatin1String("\r\n");
}

void Param(QString& out, QLatin1String name, const QString& value) {
  out += QLatin1String("<param name=\"");
  out += name;
  out += QLatin1String("\" value=\"");
  out += EscapeAttributeValue(value);
  out += QLatin1String("\">\r\n");
}

void Param(QString& out, const QString& name, const QString& value) {
  out += QLatin1String("<param name=\"");
  out += EscapeAttributeValue(name);
  out += QLatin1String("\" value=\"");
  out += EscapeAttributeValue(value);
  out += QLatin1String("\">\r\n");
}

bool HasRole(const SitemapParams& params, ParamRole role) {
  return std::any_of(params.begin(), params.end(), [role](const SitemapParam& p) { return p.role == role; });
}

QString MergeValue(const SitemapParams& params) {
  for (const SitemapParam& param : params) {
    if (param.name.trimmed().compare(u"Merge", Qt::CaseInsensitive) == 0) return param.value;
  }
  return {};
}

// The parameters of an item as read, with the node's current caption,
// topic caption and file name in place of the values they stand for; a
// value the item did not have but the node now has is added where the
// program's own items have it.
struct ItemValues {
  QString keyword;
  QString caption;
  QString local;
  bool addKeyword = false;
  bool addCaption = false;
};

void WriteItemParams(QString& out, const SitemapParams& params, const ItemValues& values) {
  const bool hasLocal = HasRole(params, ParamRole::Local);
  if (values.addKeyword) Param(out, QLatin1String("Keyword"), values.keyword);
  bool captionDue = values.addCaption;
  for (const SitemapParam& param : params) {
    switch (param.role) {
      case ParamRole::Keyword:
      case ParamRole::KeywordName:
        Param(out, param.name, values.keyword);
        break;
      case ParamRole::Caption:
        Param(out, param.name, values.caption);
        break;
      case ParamRole::Local:
        if (captionDue) Param(out, QLatin1String("Name"), values.caption);
        captionDue = false;
        Param(out, param.name, values.local);
        break;
      case ParamRole::Other:
        Param(out, param.name, param.value);
        break;
    }
  }
  if (captionDue) Param(out, QLatin1String("Name"), values.caption);
  if (!hasLocal && !values.local.isEmpty()) Param(out, QLatin1String("Local"), values.local);
}

const QLatin1String kObjectStart("<LI> <OBJECT type=\"text/sitemap\">");
const QLatin1String kObjectEnd("</OBJECT>");

void Head(QString& out) {
  Line(out, QLatin1String("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 3.2//EN\">"));
  Line(out, QLatin1String("<HTML>"));
  Line(out, QLatin1String("<HEAD>"));
  Line(out, QLatin1String("<META NAME=\"GENERATOR\" CONTENT=\"Orvex\">"));
  Line(out, QLatin1String("<!-- Sitemap 1.0 -->"));
  Line(out, QLatin1String("</HEAD><BODY>"));
}

QString TopicCaptionOf(const IndexNode& node) { return node.data ? node.data->topicCaption : QString(); }
QString FileNameOf(const IndexNode& node) { return node.data ? node.data->fileName : QString(); }

// A node read from an index file, with the parameters it had there.
bool IsReadItem(const IndexNode& node) { return node.data && !node.data->params.empty(); }

// A sub-entry that belongs in a group: no children and a topic caption.
bool IsGroupMember(const IndexNode& node) { return node.children.empty() && !TopicCaptionOf(node).isEmpty(); }

}  // namespace

void WriteContentsLevel(QString& out, const std::vector<ContentsNode>& level) {
  for (const ContentsNode& node : level) {
    Line(out, kObjectStart);
    if (node.data && !node.data->params.empty()) {
      const SitemapParams& params = node.data->params;
      // A merge item without a name keeps having none while its caption is its Merge value.
      const bool addName = !HasRole(params, ParamRole::Caption) && node.caption != MergeValue(params);
      if (addName) Param(out, QLatin1String("Name"), node.caption);
      WriteItemParams(out, params, {QString(), node.caption, node.data->fileName, false, false});
    } else {
      Param(out, QLatin1String("Name"), node.caption);
      if (node.data && !node.data->fileName.isEmpty())
        Param(out, QLatin1String("Local"), node.data->fileName);
    }
    Line(out, kObjectEnd);
    if (!node.children.empty()) {
      Line(out, QLatin1String("<UL>"));
      WriteContentsLevel(out, node.children);
    }
  }
  Line(out, QLatin1String("</UL>"));
}

void WriteIndexLevel(QString& out, const std::vector<IndexNode>& level, bool topLevel) {
  // The keyword of the group whose OBJECT is open, if one is.
  bool groupOpen = false;
  QString remembered;
  auto closeGroup = [&] {
    if (groupOpen) Line(out, kObjectEnd);
    groupOpen = false;
    remembered.clear();
  };
  for (size_t i = 0; i < level.size(); ++i) {
    const IndexNode& node = level[i];
    if (IsReadItem(node)) {
      // Read from a file: its share of the item's parameters, joined to the
      // object of the node before it when it continued that item.
      const bool joins = groupOpen && node.data->continuesItem && node.caption == remembered;
      if (!joins) {
        closeGroup();
        Line(out, kObjectStart);
      }
      const SitemapParams& params = node.data->params;
      const bool hasKeyword = HasRole(params, ParamRole::Keyword) || HasRole(params, ParamRole::KeywordName);
      const QString& topic = node.data->topicCaption;
      const bool captionIsKeyword = HasRole(params, ParamRole::KeywordName) && topic == node.caption;
      WriteItemParams(out, params,
                      {node.caption, topic, node.data->fileName, !joins && !hasKeyword,
                       !topic.isEmpty() && !HasRole(params, ParamRole::Caption) && !captionIsKeyword});
      groupOpen = true;
      remembered = node.caption;
      if (!node.children.empty()) {
        closeGroup();
        Line(out, QLatin1String("<UL>"));
        WriteIndexLevel(out, node.children, false);
        continue;
      }
      // The item goes on with its next pair as read, or with a topic added
      // to the keyword here.
      const bool continues =
          i + 1 < level.size() && level[i + 1].caption == node.caption &&
          (IsReadItem(level[i + 1]) ? level[i + 1].data->continuesItem : IsGroupMember(level[i + 1]));
      if (!continues) closeGroup();
      continue;
    }
    if (!node.children.empty()) {
      closeGroup();
      Line(out, kObjectStart);
      Param(out, QLatin1String("Keyword"), node.caption);
      const QString topic = TopicCaptionOf(node);
      const QString file = FileNameOf(node);
      if (topic.isEmpty() && file.isEmpty()) {
        // A keyword that only groups its sub-entries.
        Param(out, QLatin1String("See Also"), node.caption);
      } else {
        // A keyword that also leads to a topic of its own keeps it.
        if (!topic.isEmpty()) Param(out, QLatin1String("Name"), topic);
        if (!file.isEmpty()) Param(out, QLatin1String("Local"), file);
      }
      Line(out, kObjectEnd);
      Line(out, QLatin1String("<UL>"));
      WriteIndexLevel(out, node.children, false);
    } else if (topLevel && TopicCaptionOf(node).isEmpty()) {
      closeGroup();
      Line(out, kObjectStart);
      Param(out, QLatin1String("Keyword"), node.caption);
      Param(out, QLatin1String("Name"), TopicCaptionOf(node));
      Param(out, QLatin1String("Local"), FileNameOf(node));
      Line(out, kObjectEnd);
    } else if (TopicCaptionOf(node).isEmpty()) {
      // Its own OBJECT; an open group is closed first so OBJECTs never nest.
      closeGroup();
      Line(out, kObjectStart);
      Param(out, QLatin1String("Keyword"), node.caption);
      Param(out, QLatin1String("Local"), FileNameOf(node));
      Line(out, kObjectEnd);
    } else {
      // The topics of one keyword, on any level, are pairs of one OBJECT.
      if (!groupOpen || node.caption != remembered) {
        closeGroup();
        Line(out, kObjectStart);
        Param(out, QLatin1String("Keyword"), node.caption);
        groupOpen = true;
        remembered = node.caption;
      }
      Param(out, QLatin1String("Name"), TopicCaptionOf(node));
      Param(out, QLatin1String("Local"), FileNameOf(node));
      const bool continues = i + 1 < level.size() && IsGroupMember(level[i + 1]) &&
                             !IsReadItem(level[i + 1]) && level[i + 1].caption == node.caption;
      if (!continues) closeGroup();
    }
  }
  closeGroup();
  Line(out, QLatin1String("</UL>"));
}

QString ContentsFileText(const std::vector<ContentsNode>& forest, const QString& header) {
  QString out;
  if (!header.isEmpty()) {
    out = header;
  } else {
    Head(out);
    Line(out, QLatin1String("<OBJECT type=\"text/site properties\">"));
    Line(out, QLatin1String("<param name=\"Window Styles\" value=\"0x800025\">"));
    Line(out, QLatin1String("<param name=\"ImageType\" value=\"Folder\">"));
    Line(out, kObjectEnd);
    Line(out, QLatin1String("<UL>"));
  }
  WriteContentsLevel(out, forest);
  Line(out, QLatin1String("</BODY></HTML>"));
  return out;
}

QString IndexFileText(const std::vector<IndexNode>& forest, const QString& header) {
  QString out;
  if (!header.isEmpty()) {
    out = header;
  } else {
    Head(out);
    Line(out, QLatin1String("<UL>"));
    Line(out, QString());
  }
  WriteIndexLevel(out, forest, true);
  Line(out, QLatin1String("</BODY></HTML>"));
  return out;
}

Status WriteContentsFile(const QString& path, const std::vector<ContentsNode>& forest, int codePage) {
  return WriteTextFile(path, ContentsFileText(forest), codePage);
}

Status WriteIndexFile(const QString& path, const std::vector<IndexNode>& forest, int codePage) {
  return WriteTextFile(path, IndexFileText(forest), codePage);
}
