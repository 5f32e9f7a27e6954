#include "wordserver/wordformats.h"

namespace {

constexpr const char *kPlainText = "Text (encoded)";
constexpr const char *kWriterHtml = "HTML (StarWriter)";

} // namespace

std::string CodecOfCodePage(unsigned codePage) {
  if (codePage == 65001)
    return "utf-8";
  return "cp" + std::to_string(codePage);
}

bool SaveFormatOf(int code, unsigned ansiCodePage, unsigned oemCodePage, SaveFormat &format) {
  switch (code) {
  case 0: // document
    format = {"MS Word 97", ""};
    return true;
  case 1: // template
    format = {"MS Word 97 Vorlage", ""};
    return true;
  case 2: // text
  case 3: // text with line breaks: LibreOffice keeps paragraphs whole, as code 2 does
    format = {kPlainText, "text:" + CodecOfCodePage(ansiCodePage)};
    return true;
  case 4: // DOS text
  case 5: // DOS text with line breaks
    format = {kPlainText, "text:" + CodecOfCodePage(oemCodePage)};
    return true;
  case 6:
    format = {"Rich Text Format", ""};
    return true;
  case 7: // Unicode text
    format = {kPlainText, "text:utf-16"};
    return true;
  case 8:  // web page
  case 10: // filtered web page
    format = {kWriterHtml, ""};
    return true;
  case 9: // single-file web page
    format = {kWriterHtml, "mhtml"};
    return true;
  case 11: // Word 2003 XML
    format = {"MS Word 2003 XML", ""};
    return true;
  case 12: // XML document
  case 16: // default format
    format = {"MS Word 2007 XML", ""};
    return true;
  case 17:
    format = {"writer_pdf_Export", ""};
    return true;
  case 23:
    format = {"writer8", ""};
    return true;
  default:
    return false;
  }
}
