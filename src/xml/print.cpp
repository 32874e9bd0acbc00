// TinyXML prints with fprintf("%s"), so every value ends at its first zero
// byte; the printer below appends C strings for the same reason.
#include "xml/print.h"

namespace talvoro {
namespace {

class Printer {
 public:
  explicit Printer(std::string* out) : out_(*out) {}

  void Document(const TiXmlDocument& doc) {
    for (const TiXmlNode* node = doc.FirstChild(); node; node = node->NextSibling()) {
      Node(*node, 0);
      out_ += "\n";
    }
  }

 private:
  void Indent(int depth) {
    for (int i = 0; i < depth; ++i)
      out_ += "    ";
  }

  void Encoded(const std::string& text) {
    std::string encoded;
    TiXmlBase::EncodeString(text, &encoded);
    out_ += encoded.c_str();
  }

  void Node(const TiXmlNode& node, int depth) {
    if (const TiXmlElement* element = node.ToElement()) {
      Element(*element, depth);
    } else if (const TiXmlText* text = node.ToText()) {
      if (text->CDATA()) {
        out_ += "\n";
        Indent(depth);
        out_ += "<![CDATA[";
        out_ += text->Value();
        out_ += "]]>";
        out_ += "\n";
      } else {
        Encoded(text->ValueStr());
      }
    } else if (const TiXmlComment* comment = node.ToComment()) {
      Indent(depth);
      out_ += "<!--";
      out_ += comment->Value();
      out_ += "-->";
    } else if (const TiXmlDeclaration* declaration = node.ToDeclaration()) {
      out_ += "<?xml ";
      Pseudo("version", declaration->Version());
      Pseudo("encoding", declaration->Encoding());
      Pseudo("standalone", declaration->Standalone());
      out_ += "?>";
    } else if (const TiXmlUnknown* unknown = node.ToUnknown()) {
      Indent(depth);
      out_ += "<";
      out_ += unknown->Value();
      out_ += ">";
    }
  }

  void Pseudo(const char* name, const char* value) {
    if (!*value) return;
    out_ += name;
    out_ += "=\"";
    out_ += value;
    out_ += "\" ";
  }

  void Element(const TiXmlElement& element, int depth) {
    Indent(depth);
    out_ += "<";
    out_ += element.Value();
    for (const TiXmlAttribute* a = element.FirstAttribute(); a; a = a->Next()) {
      const char quote = a->ValueStr().find('"') == std::string::npos ? '"' : '\'';
      out_ += " ";
      Encoded(a->NameTStr());
      out_ += "=";
      out_ += quote;
      Encoded(a->ValueStr());
      out_ += quote;
    }
    const TiXmlNode* first = element.FirstChild();
    if (!first) {
      out_ += " />";
    } else if (first == element.LastChild() && first->ToText()) {
      out_ += ">";
      Node(*first, depth + 1);
      out_ += "</";
      out_ += element.Value();
      out_ += ">";
    } else {
      out_ += ">";
      for (const TiXmlNode* child = first; child; child = child->NextSibling()) {
        if (!child->ToText()) out_ += "\n";
        Node(*child, depth + 1);
      }
      out_ += "\n";
      Indent(depth);
      out_ += "</";
      out_ += element.Value();
      out_ += ">";
    }
  }

  std::string& out_;
};

}  // namespace

void PrintDocument(const TiXmlDocument& doc, bool byteOrderMark, std::string* out) {
  if (byteOrderMark) out->append("\xEF\xBB\xBF");
  Printer(out).Document(doc);
}

}  // namespace talvoro
