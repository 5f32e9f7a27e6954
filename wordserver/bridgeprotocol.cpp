#include "wordserver/bridgeprotocol.h"

#include <cstdlib>

namespace {

void AppendEscape(std::string &out, unsigned long unit) {
  static const char kHex[] = "0123456789abcdef";
  out += "\\u";
  for (int shift = 12; shift >= 0; shift -= 4)
    out += kHex[(unit >> shift) & 0xF];
}

std::string Quoted(const std::wstring &text) {
  std::string out = "\"";
  for (wchar_t c : text) {
    const unsigned long unit = static_cast<unsigned long>(c);
    if (c == L'"' || c == L'\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (unit >= 0x20 && unit < 0x7F) {
      out += static_cast<char>(c);
    } else if (unit > 0xFFFF) { // a 32-bit wchar_t: write the surrogate pair
      const unsigned long v = unit - 0x10000;
      AppendEscape(out, 0xD800 + (v >> 10));
      AppendEscape(out, 0xDC00 + (v & 0x3FF));
    } else {
      AppendEscape(out, unit);
    }
  }
  return out + "\"";
}

std::string Quoted(const std::string &ascii) {
  return Quoted(std::wstring(ascii.begin(), ascii.end()));
}

// A cursor over one reply line.
class Reader {
public:
  explicit Reader(const std::string &text) : text_(text) {}

  bool Literal(char c) {
    Space();
    if (pos_ < text_.size() && text_[pos_] == c) {
      ++pos_;
      return true;
    }
    return false;
  }

  bool String(std::wstring &out) {
    out.clear();
    if (!Literal('"'))
      return false;
    while (pos_ < text_.size()) {
      const char c = text_[pos_++];
      if (c == '"')
        return true;
      if (c != '\\') {
        out += static_cast<wchar_t>(static_cast<unsigned char>(c));
        continue;
      }
      if (pos_ >= text_.size())
        return false;
      const char e = text_[pos_++];
      switch (e) {
      case 'n': out += L'\n'; break;
      case 'r': out += L'\r'; break;
      case 't': out += L'\t'; break;
      case 'b': out += L'\b'; break;
      case 'f': out += L'\f'; break;
      case 'u': {
        if (pos_ + 4 > text_.size())
          return false;
        char *end = nullptr;
        const std::string hex = text_.substr(pos_, 4);
        const unsigned long unit = std::strtoul(hex.c_str(), &end, 16);
        if (end != hex.c_str() + 4)
          return false;
        out += static_cast<wchar_t>(unit);
        pos_ += 4;
        break;
      }
      default: out += static_cast<wchar_t>(e); break;
      }
    }
    return false;
  }

  // A number, true, false or null, as its text.
  bool Bare(std::string &out) {
    Space();
    const size_t start = pos_;
    while (pos_ < text_.size() && text_[pos_] != ',' && text_[pos_] != '}' &&
           text_[pos_] != ' ')
      ++pos_;
    out = text_.substr(start, pos_ - start);
    return !out.empty();
  }

  bool AtString() {
    Space();
    return pos_ < text_.size() && text_[pos_] == '"';
  }

  bool AtEnd() {
    Space();
    return pos_ == text_.size();
  }

private:
  void Space() {
    while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\r' ||
                                   text_[pos_] == '\n' || text_[pos_] == '\t'))
      ++pos_;
  }

  const std::string &text_;
  size_t pos_ = 0;
};

std::string Narrow(const std::wstring &ascii) {
  std::string out;
  for (wchar_t c : ascii)
    out += static_cast<char>(c);
  return out;
}

} // namespace

std::string OpenRequest(const std::wstring &path) {
  return "{\"op\": \"open\", \"path\": " + Quoted(path) + "}\n";
}

std::string SaveRequest(long id, const std::wstring &path, const std::string &filter,
                        const std::string &post) {
  return "{\"op\": \"save\", \"id\": " + std::to_string(id) + ", \"path\": " + Quoted(path) +
         ", \"filter\": " + Quoted(filter) + ", \"post\": " + Quoted(post) + "}\n";
}

std::string CloseRequest(long id) {
  return "{\"op\": \"close\", \"id\": " + std::to_string(id) + "}\n";
}

std::string QuitRequest() { return "{\"op\": \"quit\"}\n"; }

bool ParseReply(const std::string &line, BridgeReply &reply) {
  reply = BridgeReply{};
  Reader in(line);
  if (!in.Literal('{'))
    return false;
  bool sawOk = false;
  if (in.Literal('}'))
    return false;
  do {
    std::wstring key;
    if (!in.String(key) || !in.Literal(':'))
      return false;
    if (in.AtString()) {
      std::wstring value;
      if (!in.String(value))
        return false;
      if (key == L"error")
        reply.error = Narrow(value);
      else if (key == L"detail")
        reply.detail = value;
    } else {
      std::string value;
      if (!in.Bare(value))
        return false;
      if (key == L"ok") {
        if (value != "true" && value != "false")
          return false;
        reply.ok = value == "true";
        sawOk = true;
      } else if (key == L"id") {
        char *end = nullptr;
        reply.id = std::strtol(value.c_str(), &end, 10);
        if (*end != '\0')
          return false;
      }
    }
  } while (in.Literal(','));
  return in.Literal('}') && in.AtEnd() && sawOk;
}
