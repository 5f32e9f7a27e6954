// Word's file format codes (the FileFormat argument of SaveAs) and how LibreOffice writes each.
#pragma once

#include <string>

struct SaveFormat {
  // LibreOffice's export filter.
  std::string filter;
  // What the bridge does with the filter's output: "" keep it, "mhtml" wrap the HTML and its
  // images into one file, "text:CODEC" re-encode plain text (CR LF line ends) into CODEC.
  std::string post;
};

// The format for `code`, or false where LibreOffice cannot write it. Plain text goes out in the
// system's ANSI code page (code 2, 3) or OEM code page (4, 5); both are passed in.
bool SaveFormatOf(int code, unsigned ansiCodePage, unsigned oemCodePage, SaveFormat &format);

// Python's codec name for a Windows code page ("cp936" for 936; "utf-8" for 65001).
std::string CodecOfCodePage(unsigned codePage);
