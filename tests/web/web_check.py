#!/usr/bin/python3
"""The web build's pages played in headless Chromium (scripts/web-check.sh runs it).

    tests/web/web_check.py --build build/web --replay CORVANE_REPLAY
                           [--zip WEB_ZIP] [--template BUILD] [--shots DIR]

Each check serves a folder on 127.0.0.1 and waits on what the page publishes
(its frame counter, its boxes, its end), never on time alone; scripted input
comes through the page's address as corvane-replay takes it:
  backend   the web backend's tests (web_backend_tests.html: the rules every
            backend obeys, and the backend's own colours, keys and events) pass
  game      its first frame equals corvane-replay's frame 1 (in 16-bit terms);
            the right arrow held for 2 s scrolls the view 120 +- 40 pixels;
            Escape ends the game and the page says so
  pictures  served without its data file, the game shows the one box that says
            its pictures are missing, and ends
  examples  each example's page shows its golden frame after its scripts, and
            the sound example's mixed samples have the headless mix's CRC-32
  zip       the players' zip unpacked into an empty folder plays its first frame
  template  the template built against the installed web engine shows its golden
            frame (mygame.png) after its check's scripts
With --shots the pages looked at are saved there as PNG pictures. Prints one
line per check and the figures measured; exits with 1 when a check fails.
"""
import argparse
import glob
import json
import os
import re
import shutil
import statistics
import struct
import subprocess
import sys
import tempfile
import time
import urllib.parse
import zipfile
import zlib

from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys

from page_session import (CheckFailed, canvas_picture, chromium, png_picture, served, state,
                          wait_for)

# The game's alien stands at one place on the screen; the view scrolls a pixel
# a frame at 60 frames a second.
WALK_SECONDS = 2
WALK_PIXELS, WALK_SLACK = 120, 40


def address(base, page, **script):
    query = urllib.parse.urlencode({k: v for k, v in script.items() if v != ''},
                                   quote_via=urllib.parse.quote)
    return f'{base}{page}' + (f'?{query}' if query else '')


def play_to_end(driver, url, seconds=60):
    driver.get(url)
    wait_for(driver, 'window.corvane && window.corvane.ended', f'{url} to end', seconds)


def expect_picture(actual, golden, what):
    count, first = actual.differences(golden)
    if count == -1:
        raise CheckFailed(f'{what}: the page shows {actual.width} x {actual.height}, '
                          f'the golden picture is {golden.width} x {golden.height}')
    if count:
        raise CheckFailed(f'{what}: {count} pixels differ, the first at {first}')


def expect_clean_end(driver, what):
    boxes = state(driver, 'boxes')
    if boxes:
        raise CheckFailed(f'{what} showed {len(boxes)} boxes, the first: {boxes[0]}')
    if state(driver, 'exitCode') != 0:
        raise CheckFailed(f'{what} ended with exit code {state(driver, "exitCode")}')


def shift_right(before, after, most=400):
    """How far the view moved to the right: the shift that makes the most rows
    of `after` equal to rows of `before` moved left (the mountains at the
    bottom tell the tiled grass's repeats apart)."""
    best, best_rows = 0, -1
    for dx in range(most):
        rows = sum(1 for y in range(before.height)
                   if after.row(y)[:before.width - dx] == before.row(y)[dx:])
        if rows > best_rows:
            best, best_rows = dx, rows
    return best


def console_lines(driver):
    """What the page printed, as Chromium logs it: address, place, then the text quoted."""
    lines = []
    for entry in driver.get_log('browser'):
        quoted = re.match(r'^\S+ \S+ (".*")$', entry['message'])
        if quoted:
            lines.append(json.loads(quoted.group(1)))
    return lines


def check_backend_tests(driver, base):
    driver.get(address(base, 'tests/web/web_backend_tests.html'))
    wait_for(driver, 'window.corvane && window.corvane.ended', 'the backend\'s tests to end')
    said = console_lines(driver)
    if state(driver, 'exitCode') != 0:
        raise CheckFailed('the web backend\'s tests failed:\n  ' + '\n  '.join(said))
    summary = [line for line in said if line.startswith('[  PASSED  ]')]
    print(f'backend: its tests in the page {summary[0] if summary else "passed"}')


def check_game(driver, base, replay_frame, shots):
    play_to_end(driver, address(base, 'corvane.html', frames=1))
    expect_clean_end(driver, 'the game for one frame')
    expect_picture(canvas_picture(driver), replay_frame, 'the first frame')
    print('game: the first frame equals corvane-replay\'s frame 1')

    driver.get(address(base, 'corvane.html'))
    wait_for(driver, 'window.corvane.frames >= 30', 'the game to run 30 frames')
    loaded_ms = state(driver, 'firstPictureMs')
    before = canvas_picture(driver)
    frames_before = state(driver, 'frames')
    keys = ActionChains(driver)
    keys.key_down(Keys.ARROW_RIGHT).perform()
    time.sleep(WALK_SECONDS)
    keys.key_up(Keys.ARROW_RIGHT).perform()
    frames_walked = state(driver, 'frames') - frames_before
    wait_for(driver, f'window.corvane.frames >= {frames_before + frames_walked + 10}',
             'ten more frames')
    after = canvas_picture(driver)
    moved = shift_right(before, after)
    busy = state(driver, 'busyMs')[-frames_walked:]
    if shots:
        driver.save_screenshot(os.path.join(shots, 'game.png'))
    if abs(moved - WALK_PIXELS) > WALK_SLACK:
        raise CheckFailed(f'holding the right arrow for {WALK_SECONDS} s scrolled {moved} '
                          f'pixels ({frames_walked} frames), not {WALK_PIXELS} +- {WALK_SLACK}')
    print(f'game: the right arrow held {WALK_SECONDS} s scrolled {moved} pixels '
          f'({frames_walked} frames)')
    print(f'  load to first picture: {loaded_ms:.0f} ms; refresh rate measured: '
          f'{state(driver, "refreshRate")} Hz')
    print(f'  frame time (run + present) over {len(busy)} frames: mean '
          f'{statistics.mean(busy):.2f} ms, median {statistics.median(busy):.2f} ms, '
          f'max {max(busy):.2f} ms')

    ActionChains(driver).send_keys(Keys.ESCAPE).perform()
    wait_for(driver, 'window.corvane.ended', 'Escape to end the game', 10)
    expect_clean_end(driver, 'the game ended by Escape')
    said = driver.find_element(By.ID, 'status').text
    if said != 'The game has ended.':
        raise CheckFailed(f'after Escape the page says "{said}"')
    if shots:
        driver.save_screenshot(os.path.join(shots, 'game-ended.png'))
    print(f'game: Escape ended it and the page says "{said}"')


def check_missing_pictures(driver, build, shots):
    with tempfile.TemporaryDirectory(prefix='corvane-nodata-') as folder:
        for name in ('corvane.html', 'corvane.js', 'corvane.wasm'):
            shutil.copy(os.path.join(build, name), folder)
        with served(folder) as base:
            driver.get(address(base, 'corvane.html'))
            wait_for(driver, 'window.corvane.boxes.length > 0', 'the missing-pictures box')
            if shots:
                driver.save_screenshot(os.path.join(shots, 'missing-pictures.png'))
            driver.find_element(By.ID, 'box-ok').click()
            wait_for(driver, 'window.corvane.ended', 'the game to end after its box', 10)
            boxes = state(driver, 'boxes')
    if len(boxes) != 1 or boxes[0]['caption'] != 'Corvane Error' or \
            not boxes[0]['text'].startswith("The game's pictures were not found"):
        raise CheckFailed(f'without its data the game showed {boxes}')
    print(f'pictures: without corvane.data one box, "{boxes[0]["caption"]}": '
          f'{boxes[0]["text"].splitlines()[0]}')


def sound_crc(samples):
    return f'{zlib.crc32(struct.pack(f"<{len(samples)}h", *samples)):08x}'


def check_examples(driver, build, base, shots):
    checks = sorted(glob.glob(os.path.join(build, 'examples', '*', 'check.json')))
    if not checks:
        raise CheckFailed(f'no examples in {build}/examples')
    for path in checks:
        name = os.path.basename(os.path.dirname(path))
        with open(path) as file:
            check = json.load(file)
        play_to_end(driver, address(base, f'examples/{name}/{name}.html', keys=check['keys'],
                                    mouse=check['mouse'], frames=check['frames']))
        expect_clean_end(driver, name)
        expect_picture(canvas_picture(driver), png_picture(check['golden']),
                       f'{name}, frame {check["frames"]}')
        said = f'{name}: frame {check["frames"]} equals its golden picture'
        if check['sound']:
            crc = sound_crc(state(driver, 'sound') or [])
            if crc != check['sound']:
                raise CheckFailed(f'{name}: the mixed sound has CRC-32 {crc}, the headless mix '
                                  f'{check["sound"]}')
            said += f', its sound the headless mix (CRC-32 {crc})'
        if shots and name == 'sprites_blending':
            driver.save_screenshot(os.path.join(shots, f'example-{name}.png'))
        print(said)


def check_zip(driver, zip_path, replay_frame):
    with tempfile.TemporaryDirectory(prefix='corvane-zip-') as folder:
        with zipfile.ZipFile(zip_path) as archive:
            archive.extractall(folder)
        for needed in ('index.html', 'licences/corvane.txt', 'licences/terminus-font.txt'):
            if not os.path.isfile(os.path.join(folder, needed)):
                raise CheckFailed(f'{zip_path} has no {needed} at its top')
        with served(folder) as base:
            play_to_end(driver, address(base, '', frames=1))
            expect_clean_end(driver, 'the unpacked zip')
            expect_picture(canvas_picture(driver), replay_frame, 'the unpacked zip\'s first frame')
    print(f'zip: {os.path.basename(zip_path)} (with its licences) unpacked and served plays '
          'its first frame')


def check_template(driver, template):
    # As the template's own check: the right arrow held from frame 11 to 40, and
    # frame 50 equal to the golden frame its headless check compares.
    golden = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', 'examples',
                          'template', 'mygame.png')
    with served(template) as base:
        play_to_end(driver, address(base, 'mygame.html', keys='none:10,right:30', frames=50))
        expect_clean_end(driver, 'the template')
        expect_picture(canvas_picture(driver), png_picture(golden), 'the template\'s frame 50')
    print('template: built against the installed web engine, its frame 50 equals mygame.png')


def replay_first_frame(replay):
    with tempfile.TemporaryDirectory(prefix='corvane-replay-') as out:
        subprocess.run([replay, '--dir', os.path.dirname(replay), '--frames', '1', '--png-at',
                        '1', '--out', out], check=True, stdout=subprocess.DEVNULL)
        return png_picture(os.path.join(out, 'frame_0001.png'))


def main():
    parser = argparse.ArgumentParser(description=__doc__.split('\n\n')[0])
    parser.add_argument('--build', required=True)
    parser.add_argument('--replay', required=True)
    parser.add_argument('--zip')
    parser.add_argument('--template')
    parser.add_argument('--shots')
    options = parser.parse_args()
    if options.shots:
        os.makedirs(options.shots, exist_ok=True)
    replay_frame = replay_first_frame(options.replay)
    try:
        with chromium() as driver:
            with served(options.build) as base:
                check_backend_tests(driver, base)
                check_game(driver, base, replay_frame, options.shots)
                check_examples(driver, options.build, base, options.shots)
            check_missing_pictures(driver, options.build, options.shots)
            if options.zip:
                check_zip(driver, options.zip, replay_frame)
            if options.template:
                check_template(driver, options.template)
    except CheckFailed as failure:
        print(f'web check failed: {failure}', file=sys.stderr)
        return 1
    return 0


if __name__ == '__main__':
    sys.exit(main())
