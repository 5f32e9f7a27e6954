"""The bridge's pieces that need no LibreOffice: the single-file web page and plain text."""

import email
import email.policy
import os
import tempfile
import unittest

import bridge
import mhtml

# The smallest valid PNG: one transparent pixel.
PIXEL = bytes.fromhex(
    '89504e470d0a1a0a0000000d4948445200000001000000010806000000'
    '1f15c4890000000d49444154789c6360000002000154a24f5d0000000049454e44ae426082')


class SingleFilePage(unittest.TestCase):
    def build(self, page, files=()):
        with tempfile.TemporaryDirectory() as work:
            for name, data in files:
                with open(os.path.join(work, name), 'wb') as f:
                    f.write(data)
            path = os.path.join(work, 'page.htm')
            with open(path, 'wb') as f:
                f.write(page)
            return mhtml.build(path)

    def test_page_and_images_read_back(self):
        page = ('<html><head><meta http-equiv="content-type" content="text/html; '
                'charset=gb2312"/></head><body><p>稿件 = 一</p>'
                '<img src="page_html_1.png"/><img src="page_html_1.png"/>'
                '<img src="http://example.invalid/x.png"/><img src="gone.png"/>'
                '</body></html>').encode('gb2312')
        data = self.build(page, [('page_html_1.png', PIXEL), ('unused.png', PIXEL)])
        self.assertNotIn(b'\n', data.replace(b'\r\n', b''), 'every line ends with CR LF')
        message = email.message_from_bytes(data, policy=email.policy.default)
        self.assertEqual(message.get_content_type(), 'multipart/related')
        self.assertEqual(message.get_param('type'), 'text/html')
        parts = list(message.iter_parts())
        self.assertEqual(len(parts), 2, 'the page, then the one local image it uses, once')
        html_part, image = parts
        self.assertEqual(html_part['Content-Transfer-Encoding'], 'quoted-printable')
        text = html_part.get_content()
        self.assertIn('稿件 = 一', text)
        self.assertIn('charset=utf-8', text)
        self.assertEqual(image['Content-Transfer-Encoding'], 'base64')
        self.assertEqual(image.get_content_type(), 'image/png')
        self.assertEqual(image.get_content(), PIXEL)
        base = html_part['Content-Location']
        self.assertEqual(image['Content-Location'],
                         base.rsplit('/', 1)[0] + '/page_html_1.png')

    def test_references_outside_the_folder_are_left_out(self):
        data = self.build(b'<html><body><img src="../../etc/passwd"/></body></html>')
        message = email.message_from_bytes(data, policy=email.policy.default)
        self.assertEqual(len(list(message.iter_parts())), 1)


class PlainText(unittest.TestCase):
    def test_code_page_and_line_ends(self):
        cases = [
            ('cp936', '第一行\n第二行\r\nthird\rend', '第一行\r\n第二行\r\nthird\r\nend'.encode('gbk')),
            ('cp936', 'Ω\U0001F600', 'Ω?'.encode('gbk')),  # a character GBK lacks becomes '?'
            ('utf-16', 'a\nб', b'\xff\xfe' + 'a\r\nб'.encode('utf-16-le')),
            ('cp1252', 'café\n', 'café\r\n'.encode('cp1252')),
        ]
        for codec, text, expected in cases:
            with self.subTest(codec=codec, text=text):
                self.assertEqual(bridge.encode_text(text, codec), expected)


if __name__ == '__main__':
    unittest.main()
