"""A single-file web page (MHTML: multipart/related) from an HTML page and the files it uses.

The HTML part goes first, quoted-printable, and names the page; each local file that the page
refers to (images written beside it) follows in base64 under a Content-Location that resolves
the reference the page makes, which is how browsers and word processors find the parts.
"""

import html.parser
import mimetypes
import os
import re
import urllib.parse
from email import charset, policy
from email.mime.base import MIMEBase
from email.mime.multipart import MIMEMultipart
from email.mime.nonmultipart import MIMENonMultipart
from email import encoders

_BASE = 'file:///C:/kestrova/'


class _References(html.parser.HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.found = []

    def handle_starttag(self, tag, attrs):
        for name, value in attrs:
            if name in ('src', 'href', 'background') and value:
                self.found.append(value)


def _local_references(page_html, folder):
    parser = _References()
    parser.feed(page_html)
    seen = []
    for ref in parser.found:
        parts = urllib.parse.urlsplit(ref)
        if parts.scheme or parts.netloc or not parts.path or ref in seen:
            continue
        path = os.path.normpath(os.path.join(folder, urllib.parse.unquote(parts.path)))
        if os.path.isfile(path) and os.path.dirname(path).startswith(os.path.normpath(folder)):
            seen.append(ref)
            yield ref, path


def _charset_of(raw):
    found = re.search(rb'charset=["\']?([A-Za-z0-9_\-]+)', raw[:4096])
    return found.group(1).decode('ascii') if found else 'utf-8'


def build(page_path, page_name='page.htm'):
    """The MHTML bytes for the page at page_path, CR LF line ends throughout."""
    folder = os.path.dirname(os.path.abspath(page_path))
    with open(page_path, 'rb') as f:
        raw = f.read()
    text = raw.decode(_charset_of(raw), errors='replace')
    # The page now travels as UTF-8: its own declaration must say so.
    text = re.sub(r'(charset=["\']?)[A-Za-z0-9_\-]+', r'\1utf-8', text, count=1)

    root = MIMEMultipart('related', type='text/html')
    root.preamble = 'This is a multi-part message in MIME format.'
    quoted = charset.Charset('utf-8')
    quoted.body_encoding = charset.QP
    page = MIMENonMultipart('text', 'html')
    page.set_payload(text, quoted)
    page['Content-Location'] = _BASE + page_name
    root.attach(page)

    for ref, path in _local_references(text, folder):
        kind = mimetypes.guess_type(path)[0] or 'application/octet-stream'
        part = MIMEBase(*kind.split('/', 1))
        with open(path, 'rb') as f:
            part.set_payload(f.read())
        encoders.encode_base64(part)
        part['Content-Location'] = urllib.parse.urljoin(_BASE + page_name, ref)
        root.attach(part)
    return root.as_bytes(policy=policy.SMTP)
