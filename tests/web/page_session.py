"""What the browser checks stand on: a folder served on 127.0.0.1, headless
Chromium driven by Selenium, the page's published state (window.corvane), and
pictures as 16-bit 5:6:5 words, the engine's own terms."""
import base64
import contextlib
import os
import shutil
import subprocess
import sys
import tempfile
import time
import zlib

from selenium import webdriver
from selenium.webdriver.chrome.service import Service

SCRIPTS = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', 'scripts')

# Chromium run by root needs no sandbox; this machine's closed network refuses
# the connections its background services would make.
CHROMIUM_FLAGS = ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic',
                  '--no-first-run', '--disable-background-networking',
                  '--disable-component-update', '--disable-sync', '--window-size=1280,900',
                  '--autoplay-policy=no-user-gesture-required']


class CheckFailed(Exception):
    pass


@contextlib.contextmanager
def served(folder, index='index.html'):
    """The address of `folder` served by scripts/web-serve.py on a free port."""
    server = subprocess.Popen(
        [sys.executable, os.path.join(SCRIPTS, 'web-serve.py'), folder, '--port', '0',
         '--index', index], stdout=subprocess.PIPE, text=True)
    try:
        address = server.stdout.readline().strip()
        if not address.startswith('http://127.0.0.1:'):
            raise CheckFailed(f'web-serve.py did not serve {folder}')
        yield address
    finally:
        server.terminate()
        server.wait()


@contextlib.contextmanager
def chromium():
    profile = tempfile.mkdtemp(prefix='corvane-chromium-')
    options = webdriver.ChromeOptions()
    for flag in CHROMIUM_FLAGS + ['--user-data-dir=' + profile]:
        options.add_argument(flag)
    options.set_capability('goog:loggingPrefs', {'browser': 'ALL'})
    driver = webdriver.Chrome(service=Service('/usr/bin/chromedriver'), options=options)
    try:
        yield driver
    finally:
        driver.quit()
        shutil.rmtree(profile, ignore_errors=True)


def state(driver, name):
    return driver.execute_script(f'return window.corvane && window.corvane.{name};')


def wait_for(driver, condition, what, seconds=60):
    """Waits until the JavaScript expression `condition` holds; the page's
    state and console in the failure otherwise."""
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        if driver.execute_script(f'return !!({condition});'):
            return
        time.sleep(0.05)
    console = '\n  '.join(entry['message'] for entry in driver.get_log('browser'))
    published = driver.execute_script(
        'var c = window.corvane; return c && {frames: c.frames, pictures: c.pictures, '
        'ended: c.ended, exitCode: c.exitCode, boxes: c.boxes};')
    status = driver.execute_script(
        'var s = document.getElementById("status"); return s && s.textContent;')
    raise CheckFailed(f'{what}: not within {seconds} s (page: {published}, status: '
                      f'"{status}")\n  console:\n  {console}')


class Picture:
    """A picture as rows of 5:6:5 words."""

    def __init__(self, width, height, words):
        self.width, self.height, self.words = width, height, words

    def at(self, x, y):
        return self.words[y * self.width + x]

    def row(self, y):
        return self.words[y * self.width:(y + 1) * self.width]

    def differences(self, other):
        """How many pixels differ, and where the first is; (-1, None) for
        pictures of different sizes."""
        if (self.width, self.height) != (other.width, other.height):
            return -1, None
        first, count = None, 0
        for i, (a, b) in enumerate(zip(self.words, other.words)):
            if a != b:
                count += 1
                first = first or (i % self.width, i // self.width)
        return count, first


def word(red, green, blue):
    return (red >> 3) << 11 | (green >> 2) << 5 | blue >> 3


def canvas_picture(driver):
    """The page's canvas read back, in 16-bit terms."""
    width, height, data = driver.execute_script('''
        var canvas = document.getElementById('screen');
        var rgba = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
        var words = new Uint16Array(canvas.width * canvas.height);
        for (var i = 0; i < words.length; ++i)
          words[i] = (rgba[4 * i] >> 3) << 11 | (rgba[4 * i + 1] >> 2) << 5 | rgba[4 * i + 2] >> 3;
        var bytes = new Uint8Array(words.buffer), text = '';
        for (var at = 0; at < bytes.length; at += 32768)
          text += String.fromCharCode.apply(null, bytes.subarray(at, at + 32768));
        return [canvas.width, canvas.height, btoa(text)];''')
    raw = base64.b64decode(data)
    words = [raw[i] | raw[i + 1] << 8 for i in range(0, len(raw), 2)]
    return Picture(width, height, words)


def png_picture(path):
    """An 8-bit RGB or RGBA PNG (as the engine's tools write them), in 16-bit terms."""
    with open(path, 'rb') as file:
        data = file.read()
    if data[:8] != b'\x89PNG\r\n\x1a\n':
        raise CheckFailed(f'{path} is not a PNG file')
    at, chunks, header = 8, [], None
    while at < len(data):
        length = int.from_bytes(data[at:at + 4], 'big')
        kind, body = data[at + 4:at + 8], data[at + 8:at + 8 + length]
        if kind == b'IHDR':
            header = body
        elif kind == b'IDAT':
            chunks.append(body)
        at += 12 + length
    width, height = int.from_bytes(header[0:4], 'big'), int.from_bytes(header[4:8], 'big')
    depth, colour, interlace = header[8], header[9], header[12]
    if depth != 8 or colour not in (2, 6) or interlace != 0:
        raise CheckFailed(f'{path}: only 8-bit RGB or RGBA PNG files without interlacing')
    step = 3 if colour == 2 else 4
    return Picture(width, height, _unfiltered_words(zlib.decompress(b''.join(chunks)), width,
                                                    height, step))


def _unfiltered_words(raw, width, height, step):
    stride = width * step
    previous = bytearray(stride)
    words = []
    for y in range(height):
        kind = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            left = line[i - step] if i >= step else 0
            up = previous[i]
            corner = previous[i - step] if i >= step else 0
            if kind == 1:
                line[i] = (line[i] + left) & 255
            elif kind == 2:
                line[i] = (line[i] + up) & 255
            elif kind == 3:
                line[i] = (line[i] + (left + up) // 2) & 255
            elif kind == 4:
                guess = left + up - corner
                near = min((abs(guess - left), 0, left), (abs(guess - up), 1, up),
                           (abs(guess - corner), 2, corner))
                line[i] = (line[i] + near[2]) & 255
        words.extend(word(line[x], line[x + 1], line[x + 2]) for x in range(0, stride, step))
        previous = line
    return words
