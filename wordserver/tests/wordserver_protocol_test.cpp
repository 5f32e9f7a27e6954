#include <gtest/gtest.h>

#include "wordserver/bridgeprotocol.h"
#include "wordserver/wordformats.h"

TEST(WordFormats, CodesLibreOfficeWrites) {
  const struct {
    int code;
    const char *filter;
    const char *post;
  } cases[] = {
      {0, "MS Word 97", ""},
      {1, "MS Word 97 Vorlage", ""},
      {2, "Text (encoded)", "text:cp936"},
      {3, "Text (encoded)", "text:cp936"},
      {4, "Text (encoded)", "text:cp437"},
      {5, "Text (encoded)", "text:cp437"},
      {6, "Rich Text Format", ""},
      {7, "Text (encoded)", "text:utf-16"},
      {8, "HTML (StarWriter)", ""},
      {9, "HTML (StarWriter)", "mhtml"},
      {10, "HTML (StarWriter)", ""},
      {11, "MS Word 2003 XML", ""},
      {12, "MS Word 2007 XML", ""},
      {16, "MS Word 2007 XML", ""},
      {17, "writer_pdf_Export", ""},
      {23, "writer8", ""},
  };
  for (const auto &c : cases) {
    SaveFormat format;
    ASSERT_TRUE(SaveFormatOf(c.code, 936, 437, format)) << c.code;
    EXPECT_EQ(format.filter, c.filter) << c.code;
    EXPECT_EQ(format.post, c.post) << c.code;
  }
}

TEST(WordFormats, CodesLibreOfficeCannotWrite) {
  for (int code : {-1, 13, 14, 15, 18, 19, 20, 21, 22, 24, 100}) {
    SaveFormat format;
    EXPECT_FALSE(SaveFormatOf(code, 936, 936, format)) << code;
  }
}

TEST(WordFormats, TextFollowsTheSystemCodePages) {
  SaveFormat format;
  ASSERT_TRUE(SaveFormatOf(2, 1252, 850, format));
  EXPECT_EQ(format.post, "text:cp1252");
  ASSERT_TRUE(SaveFormatOf(4, 1252, 850, format));
  EXPECT_EQ(format.post, "text:cp850");
  ASSERT_TRUE(SaveFormatOf(2, 65001, 65001, format));
  EXPECT_EQ(format.post, "text:utf-8");
}

TEST(BridgeProtocol, RequestsAreAsciiWithEscapes) {
  EXPECT_EQ(OpenRequest(L"/tmp/\u7a3f\u4ef6 \"a\"\\b.doc"),
            "{\"op\": \"open\", \"path\": \"/tmp/\\u7a3f\\u4ef6 \\\"a\\\"\\\\b.doc\"}\n");
  EXPECT_EQ(SaveRequest(3, L"/o.txt", "Text (encoded)", "text:cp936"),
            "{\"op\": \"save\", \"id\": 3, \"path\": \"/o.txt\", \"filter\": \"Text "
            "(encoded)\", \"post\": \"text:cp936\"}\n");
  EXPECT_EQ(CloseRequest(12), "{\"op\": \"close\", \"id\": 12}\n");
  EXPECT_EQ(QuitRequest(), "{\"op\": \"quit\"}\n");
}

TEST(BridgeProtocol, Replies) {
  BridgeReply reply;
  ASSERT_TRUE(ParseReply(R"({"ok": true, "id": 7, "title": "a.doc"})", reply));
  EXPECT_TRUE(reply.ok);
  EXPECT_EQ(reply.id, 7);

  ASSERT_TRUE(ParseReply(
      R"({"ok": false, "error": "missing", "detail": "/tmp/\u7a3f\"x\"\\y\n"})", reply));
  EXPECT_FALSE(reply.ok);
  EXPECT_EQ(reply.error, "missing");
  EXPECT_EQ(reply.detail, L"/tmp/\u7a3f\"x\"\\y\n");
}

TEST(BridgeProtocol, MalformedRepliesAreRefused) {
  for (const char *line : {"", "{}", "{\"id\": 1}", "{\"ok\": maybe}", "{\"ok\": true",
                           "{\"ok\": true} trailing", "{\"ok\": true, \"id\": 1x}",
                           "{\"ok\": true, \"detail\": \"\\u12\"}", "[1]"}) {
    BridgeReply reply;
    EXPECT_FALSE(ParseReply(line, reply)) << line;
  }
}
