#!/usr/bin/env python3
"""Runs one LibreOffice for one Application object of the Word automation server.

The server starts it as `bridge.py SOFFICE PORT SECRET`; it connects to the server's loopback
PORT, sends SECRET as its first line, and then serves requests, one JSON object a line:

  {"op": "open", "path": P}                       -> {"ok": true, "id": N, "title": T}
  {"op": "save", "id": N, "path": P, "filter": F,
   "post": "" | "text:CODEC" | "mhtml"}           -> {"ok": true}
  {"op": "close", "id": N}                        -> {"ok": true}
  {"op": "quit"}                                  -> {"ok": true}, then the program ends

A failure answers {"ok": false, "error": KIND, "detail": TEXT}; KIND is one of "missing",
"unreadable", "unwritable", "bad-request", "office". Paths are local paths of this side.

LibreOffice is started on the first "open" with a profile of its own, so that several of these
run side by side, and it never outlives this program: "quit", the end of the connection (the
server went away) and this program's own death all end it.
"""

import ctypes
import json
import os
import re
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import time

import mhtml


def _die_with_parent():
    # Linux: the kernel sends SIGKILL to LibreOffice when this program dies, however it dies.
    try:
        ctypes.CDLL(None, use_errno=True).prctl(1, signal.SIGKILL)  # PR_SET_PDEATHSIG
    except (OSError, AttributeError):
        pass


class Failure(Exception):
    def __init__(self, kind, detail):
        super().__init__(detail)
        self.kind = kind
        self.detail = detail


def _file_url(path):
    import uno
    return uno.systemPathToFileUrl(os.path.abspath(path))


def _props(**values):
    from com.sun.star.beans import PropertyValue
    result = []
    for name, value in values.items():
        prop = PropertyValue()
        prop.Name = name
        prop.Value = value
        result.append(prop)
    return tuple(result)


# Sources that may come in through plain-text import: anything else that LibreOffice could read
# only as text is not a document.
_TEXT_SOURCES = ('.txt', '.text', '.csv', '.log')

_LAID_OUT_EXPORTS = ('writer_pdf_Export', 'HTML (StarWriter)')

_PREPARED_PROFILE = """<?xml version="1.0" encoding="UTF-8"?>
<oor:items xmlns:oor="http://openoffice.org/2001/registry"
 xmlns:xs="http://www.w3.org/2001/XMLSchema" xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance">
<item oor:path="/org.openoffice.Setup/Product"><prop oor:name="ooSetupLastVersion" oor:op="fuse"><value>%s</value></prop></item>
</oor:items>
"""


class Office:
    def __init__(self, soffice):
        self.soffice = soffice
        self.process = None
        self.profile = None
        self.desktop = None
        self.documents = {}
        self.sources = {}  # id -> (URL, import filter), for exports that need a view
        self.next_id = 1

    def start(self):
        if self.desktop is not None and self.process is not None and self.process.poll() is None:
            return
        if self.desktop is not None:
            # LibreOffice went down under us: its documents went with it; start afresh.
            self.desktop = None
            self.documents.clear()
            self.sources.clear()
            self.stop()
        import uno
        self.profile = tempfile.mkdtemp(prefix='kestrova-word-')
        seed = self._seed()
        if seed and os.path.isdir(seed):
            shutil.copytree(seed, self.profile, dirs_exist_ok=True)
        else:
            self._prepare_profile()
        pipe = 'kestrova-word-%d' % os.getpid()
        program = self.soffice
        # The binary itself, not the launcher script: then nothing stands between this program
        # and the process that must end with it.
        binary = os.path.join(os.path.dirname(program), 'soffice.bin')
        if os.name == 'posix' and os.path.exists(binary):
            program = binary
        args = [program, '--headless', '--invisible', '--nologo', '--norestore',
                '--nodefault', '--nolockcheck',
                '-env:UserInstallation=' + uno.systemPathToFileUrl(self.profile),
                '--accept=pipe,name=%s;urp;' % pipe]
        self.process = self._launch(args)
        local = uno.getComponentContext()
        resolver = local.ServiceManager.createInstanceWithContext(
            'com.sun.star.bridge.UnoUrlResolver', local)
        deadline = time.monotonic() + 60
        while True:
            try:
                context = resolver.resolve(
                    'uno:pipe,name=%s;urp;StarOffice.ComponentContext' % pipe)
                break
            except Exception:
                # The binary ends with 81 once it has set up a new profile and wants a restart
                # (the launcher script would do this).
                if self.process.poll() == 81:
                    self.process = self._launch(args)
                elif self.process.poll() is not None or time.monotonic() > deadline:
                    self.stop()
                    raise Failure('office', 'LibreOffice did not start')
                time.sleep(0.1)
        self.context = context
        self.smgr = context.ServiceManager
        self.detection = self.smgr.createInstanceWithContext(
            'com.sun.star.document.TypeDetection', context)
        self.desktop = self.smgr.createInstanceWithContext('com.sun.star.frame.Desktop', context)

    def _seed(self):
        """Where a profile that LibreOffice has finished setting up is kept, so that the next
        instance need not make its own (a new profile costs LibreOffice a restart). One per
        LibreOffice installation, in the user's cache."""
        try:
            stamp = int(os.path.getmtime(os.path.realpath(self.soffice)))
        except OSError:
            return None
        cache = os.environ.get('XDG_CACHE_HOME') or os.path.join(
            os.path.expanduser('~'), '.cache')
        return os.path.join(cache, 'kestrova-word', 'profile-%d' % stamp)

    def _keep_as_seed(self):
        seed = self._seed()
        if not seed or os.path.isdir(seed) or not self.profile:
            return
        staging = None
        try:
            os.makedirs(os.path.dirname(seed), exist_ok=True)
            staging = tempfile.mkdtemp(prefix='seed-', dir=os.path.dirname(seed))
            shutil.copytree(self.profile, staging, dirs_exist_ok=True)
            os.rename(staging, seed)  # another instance may have been first: then ours goes
        except OSError:
            if staging:
                shutil.rmtree(staging, ignore_errors=True)

    def _prepare_profile(self):
        """Marks the new profile as already set up for this LibreOffice version. Without the
        mark every start runs LibreOffice's first-start work: about eight seconds here, against
        under one with it."""
        program = os.path.dirname(os.path.realpath(self.soffice))
        try:
            with open(os.path.join(program, '..', 'share', 'registry', 'main.xcd'),
                      encoding='utf-8', errors='replace') as f:
                found = re.search(r'ooSetupVersion"[^>]*>\s*<value>([^<]+)</value>', f.read())
        except OSError:
            return
        if not found:
            return
        os.makedirs(os.path.join(self.profile, 'user'), exist_ok=True)
        with open(os.path.join(self.profile, 'user', 'registrymodifications.xcu'), 'w',
                  encoding='utf-8') as f:
            f.write(_PREPARED_PROFILE % found.group(1))

    @staticmethod
    def _launch(args):
        return subprocess.Popen(
            args, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
            stderr=subprocess.DEVNULL,
            preexec_fn=_die_with_parent if os.name == 'posix' else None)

    def stop(self):
        for doc in self.documents.values():
            try:
                doc.close(True)
            except Exception:
                pass
        self.documents.clear()
        self.sources.clear()
        if self.desktop is not None:
            try:
                self.desktop.terminate()
            except Exception:
                pass  # the connection drops as LibreOffice goes
            self.desktop = None
        if self.process is not None:
            try:
                clean = self.process.wait(timeout=10) == 0
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
                clean = False
            self.process = None
            if clean:
                self._keep_as_seed()
        if self.profile:
            shutil.rmtree(self.profile, ignore_errors=True)
            self.profile = None

    def open(self, path):
        if not os.path.isfile(path):
            raise Failure('missing', path)
        self.start()
        url = _file_url(path)
        filter_name = self._reading_filter(url, path)
        # The document is loaded without a frame: nothing of LibreOffice's user interface is
        # made, and the pieces of it that a headless installation lacks are never asked for.
        try:
            doc = self.smgr.createInstanceWithContext('com.sun.star.text.TextDocument',
                                                      self.context)
            doc.load(_props(URL=url, FilterName=filter_name, ReadOnly=True, Hidden=True))
        except Exception as e:
            raise Failure('unreadable', '%s: %s' % (path, e))
        doc_id = self.next_id
        self.next_id += 1
        self.documents[doc_id] = doc
        self.sources[doc_id] = (url, filter_name)
        return {'id': doc_id, 'title': os.path.basename(path)}

    def _reading_filter(self, url, path):
        """The import filter LibreOffice's type detection picks for the file. Anything that it
        could read only as plain text is no document unless it is named as text."""
        try:
            kind, _ = self.detection.queryTypeByDescriptor(_props(URL=url), True)
            info = {p.Name: p.Value for p in self.detection.getByName(kind)} if kind else {}
        except Exception as e:
            raise Failure('unreadable', '%s: %s' % (path, e))
        filter_name = info.get('PreferredFilter', '')
        if kind == 'generic_Text' or filter_name.startswith('Text'):
            if not path.lower().endswith(_TEXT_SOURCES):
                raise Failure('unreadable', '%s: read only as plain text' % path)
            filter_name = 'Text'
        if not filter_name:
            raise Failure('unreadable', path)
        return filter_name

    def document(self, doc_id):
        doc = self.documents.get(doc_id)
        if doc is None:
            raise Failure('bad-request', 'no document %r' % doc_id)
        return doc

    def save(self, doc_id, path, filter_name, post):
        doc = self.document(doc_id)
        folder = os.path.dirname(os.path.abspath(path))
        if not os.path.isdir(folder) or not os.access(folder, os.W_OK):
            raise Failure('unwritable', path)
        try:
            if post == 'mhtml':
                with tempfile.TemporaryDirectory(prefix='kestrova-mht-') as work:
                    page = os.path.join(work, 'page.htm')
                    self._store_laid_out(doc_id, page, filter_name)
                    data = mhtml.build(page)
                with open(path, 'wb') as out:
                    out.write(data)
            elif post.startswith('text:'):
                with tempfile.TemporaryDirectory(prefix='kestrova-txt-') as work:
                    plain = os.path.join(work, 'plain.txt')
                    self._store(doc, plain, filter_name, 'UTF8,CRLF,,')
                    with open(plain, 'rb') as f:
                        text = f.read().decode('utf-8-sig')
                data = encode_text(text, post[len('text:'):])
                with open(path, 'wb') as out:
                    out.write(data)
            elif filter_name in _LAID_OUT_EXPORTS:
                self._store_laid_out(doc_id, path, filter_name)
            else:
                self._store(doc, path, filter_name)
        except OSError as e:
            raise Failure('unwritable', '%s: %s' % (path, e))

    def _store_laid_out(self, doc_id, path, filter_name):
        """Exports that need the pages laid out (PDF; web pages, whose drawings become images)
        need a view, which a document loaded without a frame has not got: such an export reads
        the source again into a hidden window."""
        url, import_filter = self.sources[doc_id]
        try:
            viewed = self.desktop.loadComponentFromURL(
                url, '_blank', 0, _props(Hidden=True, ReadOnly=True, FilterName=import_filter))
        except Exception as e:
            raise Failure('unreadable', str(e))
        try:
            self._store(viewed, path, filter_name)
        finally:
            viewed.close(True)

    @staticmethod
    def _store(doc, path, filter_name, options=None):
        values = {'FilterName': filter_name, 'Overwrite': True}
        if options:
            values['FilterOptions'] = options
        try:
            doc.storeToURL(_file_url(path), _props(**values))
        except Exception as e:
            raise Failure('unwritable', '%s: %s' % (path, e))

    def close(self, doc_id):
        self.sources.pop(doc_id, None)
        doc = self.documents.pop(doc_id, None)
        if doc is not None:
            doc.close(True)


def encode_text(text, codec):
    """Text as a plain-text file of `codec`: CR LF line ends, a byte order mark for UTF-16,
    characters the code page lacks as '?'."""
    lines = text.replace('\r\n', '\n').replace('\r', '\n').split('\n')
    joined = '\r\n'.join(lines)
    if codec.lower().replace('-', '') in ('utf16', 'utf16le'):
        return b'\xff\xfe' + joined.encode('utf-16-le')
    return joined.encode(codec, errors='replace')


def serve(office, requests, replies):
    for line in requests:
        line = line.strip()
        if not line:
            continue
        reply = {'ok': True}
        try:
            request = json.loads(line)
            op = request.get('op')
            if op == 'open':
                reply.update(office.open(request['path']))
            elif op == 'save':
                office.save(request['id'], request['path'], request['filter'],
                            request.get('post', ''))
            elif op == 'close':
                office.close(request['id'])
            elif op == 'quit':
                office.stop()
                replies.write(json.dumps(reply) + '\n')
                replies.flush()
                return
            else:
                raise Failure('bad-request', 'unknown operation %r' % op)
        except Failure as f:
            reply = {'ok': False, 'error': f.kind, 'detail': f.detail}
        except (ValueError, KeyError, TypeError) as e:
            reply = {'ok': False, 'error': 'bad-request', 'detail': str(e)}
        except Exception as e:  # a UNO error nobody foresaw: report it, keep serving
            reply = {'ok': False, 'error': 'office', 'detail': str(e)}
        replies.write(json.dumps(reply) + '\n')
        replies.flush()
    office.stop()


def main():
    if len(sys.argv) != 4:
        sys.stderr.write('usage: bridge.py SOFFICE PORT SECRET\n')
        return 2
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(0))
    office = Office(sys.argv[1])
    connection = socket.create_connection(('127.0.0.1', int(sys.argv[2])))
    requests = connection.makefile('r', encoding='utf-8', newline='\n')
    replies = connection.makefile('w', encoding='utf-8', newline='\n')
    try:
        replies.write(sys.argv[3] + '\n')
        replies.flush()
        serve(office, requests, replies)
    except OSError:
        pass  # the server went away mid-reply
    finally:
        office.stop()
    return 0


if __name__ == '__main__':
    sys.exit(main())
