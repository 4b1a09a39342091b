// The page a Corvane program runs in, linked into the program's script ahead of
// the program: the canvas its window shows on, the page's events queued for the
// backend to take between frames, the modal box, full screen, the debug log, the
// sound device, and what the page tells whoever watches it in window.corvane
// (frames run, pictures shown, boxes, the end). The backend calls CorvanePage.
var CorvanePage = (function() {
  'use strict';

  var canvas = document.getElementById('screen');
  var context = canvas.getContext('2d');
  var stage = document.getElementById('stage');
  var statusLine = document.getElementById('status');
  var frameLine = document.getElementById('frames');
  var hint = document.getElementById('hint');
  var box = document.getElementById('box');

  // What the page publishes; the checks read it.
  var published = window.corvane = {
    frames: 0,            // frames the game has run
    pictures: 0,          // pictures put on the canvas
    firstPictureMs: null, // from the page's start to its first picture
    busyMs: [],           // the last frames' running and showing, without their waits
    refreshRate: 0,       // the display's, as measured before the start; 0 unknown
    scale: 1,             // how many screen pixels a picture pixel takes, each way
    boxes: [],            // {caption, text} of every box shown, in order
    sound: null,          // with a script: the mixed samples, 16-bit stereo
    soundPlayed: 0,       // frames the sound device has taken from the program
    ended: false,
    exitCode: null,
  };
  var kBusyFramesKept = 600;

  // Event kinds, as the backend reads them (web_page.h).
  var KEY_DOWN = 1, KEY_UP = 2, MOUSE_MOVE = 3, MOUSE_DOWN = 4, MOUSE_UP = 5, FOCUS = 6;
  // Flags of key events.
  var ALT = 1, CONTROL = 2, SHIFT = 4, META = 8, REPEAT = 16;
  // What a wait can be woken by: input, or the rest (the focus).
  var WAKE_INPUT = 1, WAKE_POSTED = 2;

  var events = [];
  var waiter = null;
  var keysHeld = new Set();
  var mouseHeld = new Set();
  var boxShowing = false;

  function queue(event) {
    events.push(event);
    var wakes = event.kind === FOCUS ? WAKE_POSTED : WAKE_INPUT;
    if (waiter && (waiter.wake & wakes)) waiter.finish(1);
  }

  function focused() {
    return document.visibilityState === 'visible' && document.hasFocus();
  }

  // Keys the browser would otherwise use to scroll the page or move the focus.
  var pageKeys = new Set(['ArrowLeft', 'ArrowRight', 'ArrowUp', 'ArrowDown', 'Space', 'PageUp',
                          'PageDown', 'Home', 'End', 'Tab', 'Backspace']);

  function keyFlags(event) {
    return (event.altKey ? ALT : 0) | (event.ctrlKey ? CONTROL : 0) |
           (event.shiftKey ? SHIFT : 0) | (event.metaKey ? META : 0) |
           (event.repeat ? REPEAT : 0);
  }

  // The keys and buttons the game was told are down come up when the page can
  // no longer hear them: a box in front, the focus elsewhere.
  function releaseAll() {
    keysHeld.forEach(function(code) {
      queue({kind: KEY_UP, code: code, key: '', flags: 0});
    });
    keysHeld.clear();
    mouseHeld.forEach(function(button) {
      queue({kind: MOUSE_UP, x: lastMouse.x, y: lastMouse.y, button: button});
    });
    mouseHeld.clear();
  }

  function onKey(event) {
    wakeSound();
    if (boxShowing) return;
    var down = event.type === 'keydown';
    var enter = event.code === 'Enter' || event.code === 'NumpadEnter';
    if (down && (event.code === 'F11' || (event.altKey && enter))) {
      event.preventDefault();
      if (!event.repeat) toggleFullscreen();
      return;
    }
    if (pageKeys.has(event.code)) event.preventDefault();
    if (down) keysHeld.add(event.code);
    else keysHeld.delete(event.code);
    queue({kind: down ? KEY_DOWN : KEY_UP, code: event.code, key: event.key,
           flags: keyFlags(event)});
  }

  // Mouse positions in the picture's own pixels, however large it is shown.
  var lastMouse = {x: 0, y: 0};
  function mouseAt(event) {
    var rect = canvas.getBoundingClientRect();
    var x = Math.floor((event.clientX - rect.left) * canvas.width / rect.width);
    var y = Math.floor((event.clientY - rect.top) * canvas.height / rect.height);
    lastMouse = {x: Math.min(Math.max(x, 0), canvas.width - 1),
                 y: Math.min(Math.max(y, 0), canvas.height - 1)};
    return lastMouse;
  }

  function onMouse(event) {
    if (boxShowing) return;
    var at = mouseAt(event);
    var fields = {x: at.x, y: at.y, button: event.button, buttons: event.buttons,
                  flags: keyFlags(event)};
    if (event.type === 'mousemove') {
      fields.kind = MOUSE_MOVE;
    } else if (event.type === 'mousedown') {
      wakeSound();
      canvas.focus();
      mouseHeld.add(event.button);
      fields.kind = MOUSE_DOWN;
    } else if (mouseHeld.delete(event.button)) {
      fields.kind = MOUSE_UP;
    } else {
      return;
    }
    queue(fields);
  }

  function onFocusChange() {
    var now = focused();
    if (!now) releaseAll();
    hint.hidden = now || published.ended || published.frames === 0;
    queue({kind: FOCUS, x: now ? 1 : 0});
  }

  // A hidden page plays nothing and runs no frames (see whileHidden).
  function onVisibility() {
    if (sound) {
      if (document.visibilityState === 'visible') wakeSound();
      else sound.suspend();
    }
    onFocusChange();
  }

  document.addEventListener('keydown', onKey);
  document.addEventListener('keyup', onKey);
  canvas.addEventListener('mousemove', onMouse);
  canvas.addEventListener('mousedown', onMouse);
  window.addEventListener('mouseup', onMouse);
  canvas.addEventListener('contextmenu', function(event) { event.preventDefault(); });
  window.addEventListener('focus', onFocusChange);
  window.addEventListener('blur', onFocusChange);
  document.addEventListener('visibilitychange', onVisibility);

  // The largest whole-number enlargement of the picture that fits the stage,
  // counted in the screen's own pixels, centred on a whole pixel so that every
  // pixel of the picture covers whole pixels of the screen.
  function fit() {
    var ratio = window.devicePixelRatio || 1;
    var room = stage.getBoundingClientRect();
    var scale = Math.floor(Math.min(room.width * ratio / canvas.width,
                                    room.height * ratio / canvas.height));
    scale = Math.max(scale, 1);
    var width = canvas.width * scale, height = canvas.height * scale;
    canvas.style.width = width / ratio + 'px';
    canvas.style.height = height / ratio + 'px';
    canvas.style.left = Math.max(Math.floor((room.width * ratio - width) / 2), 0) / ratio + 'px';
    canvas.style.top = Math.max(Math.floor((room.height * ratio - height) / 2), 0) / ratio + 'px';
    published.scale = scale;
  }
  window.addEventListener('resize', fit);
  document.addEventListener('fullscreenchange', fit);

  function toggleFullscreen() {
    if (document.fullscreenElement) {
      document.exitFullscreen();
    } else if (stage.requestFullscreen) {
      stage.requestFullscreen().catch(function(error) {
        console.warn('Full screen refused: ' + error.message);
      });
    }
    canvas.focus();
  }
  document.getElementById('full').addEventListener('click', toggleFullscreen);

  // The debug log: each line also goes to the console as it is written, and
  // the link saves the file as it stands.
  var kLogFile = '/debug.txt';
  var logLine = '';
  var logText = new TextDecoder('windows-1252');
  function watchLog() {
    var write = FS.write;
    FS.write = function(stream, buffer, offset, length) {
      var written = write.apply(FS, arguments);
      if (stream.path === kLogFile && written > 0) {
        var lines = (logLine + logText.decode(new Uint8Array(
            buffer.buffer, buffer.byteOffset + offset, written))).split('\n');
        logLine = lines.pop();
        lines.forEach(function(line) { console.log(line); });
      }
      return written;
    };
  }
  document.getElementById('log').addEventListener('click', function(event) {
    event.preventDefault();
    var bytes = new Uint8Array(0);
    try {
      bytes = FS.readFile(kLogFile);
    } catch (error) {
      // No log yet: an empty file says so.
    }
    var link = document.createElement('a');
    link.href = URL.createObjectURL(new Blob([bytes], {type: 'text/plain'}));
    link.download = 'debug.txt';
    document.body.appendChild(link);
    link.click();
    link.remove();
    setTimeout(function() { URL.revokeObjectURL(link.href); }, 1000);
  });

  // The display's refresh rate, from the time between animation frames while
  // the page loads: their median, put on the nearest common rate.
  var kCommonRates = [50, 60, 72, 75, 90, 100, 120, 144, 165, 180, 240];
  var refreshMeasured = new Promise(function(resolve) {
    var times = [];
    function tick(time) {
      times.push(time);
      if (times.length < 16) {
        requestAnimationFrame(tick);
        return;
      }
      var gaps = [];
      for (var i = 1; i < times.length; ++i) gaps.push(times[i] - times[i - 1]);
      gaps.sort(function(a, b) { return a - b; });
      var rate = 1000 / gaps[gaps.length >> 1];
      kCommonRates.forEach(function(common) {
        if (Math.abs(rate - common) < common * 0.04) published.refreshRate = common;
      });
      resolve();
    }
    if (document.visibilityState === 'visible') requestAnimationFrame(tick);
    else resolve();
  });

  // The data file with the program's folders, fetched beside the page; without
  // it (a site that lacks it) the program starts without those files.
  function loadData() {
    if (typeof corvaneLoadPackage !== 'function') return;
    addRunDependency('corvane data');
    fetch(corvaneDataName).then(function(response) {
      return response.ok ? response.arrayBuffer() : null;
    }).catch(function() { return null; }).then(function(data) {
      if (data) {
        Module.getPreloadedPackage = function() { return data; };
        corvaneLoadPackage(Module);
      } else {
        console.warn(corvaneDataName + ' could not be loaded: the program starts without it');
      }
      removeRunDependency('corvane data');
    });
  }

  Module.preRun = Module.preRun || [];
  Module.preRun.push(function() {
    watchLog();
    loadData();
    addRunDependency('refresh rate');
    refreshMeasured.then(function() { removeRunDependency('refresh rate'); });
  });
  Module.onRuntimeInitialized = function() { statusLine.textContent = ''; };
  // The program ends through its main or through exit(); either way once.
  function ended(exitCode) {
    if (published.ended) return;
    published.ended = true;
    published.exitCode = exitCode;
    hint.hidden = true;
    statusLine.textContent = exitCode === 0 ? 'The game has ended.'
                                            : 'The game has ended (exit code ' + exitCode + ').';
    frameLine.textContent = 'frame ' + published.frames;
    closeSound();
  }
  Module.onExit = ended;
  Module.onAbort = function(what) {
    if (!published.ended) statusLine.textContent = 'The game stopped: ' + what;
  };

  // Sound: a Web Audio device whose script node asks the program for samples,
  // started or resumed on the first key or click (browsers start no sound before).
  var sound = null;
  function closeSound() {
    if (!sound) return;
    sound.corvaneNode.disconnect();
    sound.close();
    sound = null;
  }
  function wakeSound() {
    if (sound && sound.state === 'suspended' && document.visibilityState === 'visible')
      sound.resume();
  }

  function frameStarts(number, busyMs) {
    published.frames = number;
    // A page opened without the focus (behind a site's frame) shows nothing yet.
    if (number === 1) hint.hidden = focused();
    if (busyMs !== null) {
      published.busyMs.push(busyMs);
      if (published.busyMs.length > kBusyFramesKept) published.busyMs.shift();
    }
    if (published.frames % 15 === 0) frameLine.textContent = 'frame ' + published.frames;
  }

  return {
    // Moves the next event into the backend's PageEvent at `at`; false when none.
    takeEvent: function(at) {
      var event = events.shift();
      if (!event) return false;
      HEAP32[at >> 2] = event.kind;
      HEAP32[(at >> 2) + 1] = event.x || 0;
      HEAP32[(at >> 2) + 2] = event.y || 0;
      HEAP32[(at >> 2) + 3] = event.button || 0;
      HEAP32[(at >> 2) + 4] = event.buttons || 0;
      HEAP32[(at >> 2) + 5] = event.flags || 0;
      stringToUTF8(event.code || '', at + 24, 24);
      stringToUTF8(event.key || '', at + 48, 8);
      return true;
    },
    focused: focused,
    // Until the page is shown again: a hidden page runs no frames.
    whileHidden: function() {
      if (document.visibilityState === 'visible') return Promise.resolve();
      return new Promise(function(resolve) {
        document.addEventListener('visibilitychange', function shown() {
          if (document.visibilityState !== 'visible') return;
          document.removeEventListener('visibilitychange', shown);
          resolve();
        });
      });
    },

    // The window's title names the page; without one the page keeps its own.
    setTitle: function(title) { document.title = title || 'Corvane'; },
    setSize: function(width, height) {
      if (canvas.width === width && canvas.height === height) return;
      canvas.width = width;
      canvas.height = height;
      fit();
    },
    // Puts width x height RGBA pixels at `pixels` on the canvas at (x, y).
    show: function(pixels, width, height, x, y) {
      var bytes = new Uint8ClampedArray(HEAPU8.buffer, pixels, width * height * 4);
      context.putImageData(new ImageData(bytes, width, height), x, y);
      if (published.pictures++ === 0) published.firstPictureMs = performance.now();
    },
    frameStarts: frameStarts,

    // Resolves at the next animation frame: the display's vertical blank.
    nextFrame: function() {
      return new Promise(function(resolve) { requestAnimationFrame(resolve); });
    },
    // Resolves after `ms` milliseconds with 0, or sooner with 1 when an event
    // that `wake` names arrives. Timers within timers come 4 ms late at the
    // soonest, so a shorter wait is made of message-channel turns.
    wait: function(ms, wake) {
      return new Promise(function(resolve) {
        var end = performance.now() + ms;
        var channel = null, timer = 0;
        function finish(woke) {
          waiter = null;
          clearTimeout(timer);
          if (channel) channel.port1.close();
          resolve(woke);
        }
        function turn() {
          if (performance.now() >= end) {
            finish(0);
            return;
          }
          if (!channel) {
            channel = new MessageChannel();
            channel.port1.onmessage = turn;
          }
          channel.port2.postMessage(0);
        }
        waiter = {wake: wake, finish: finish};
        if (ms >= 4) timer = setTimeout(function() { finish(0); }, ms);
        else turn();
      });
    },

    // The modal box: resolves when the player presses OK (or Escape).
    showBox: function(caption, text) {
      published.boxes.push({caption: caption, text: text});
      document.getElementById('box-caption').textContent = caption;
      document.getElementById('box-text').textContent = text;
      releaseAll();
      boxShowing = true;
      return new Promise(function(resolve) {
        box.addEventListener('close', function closed() {
          box.removeEventListener('close', closed);
          boxShowing = false;
          canvas.focus();
          resolve();
        });
        box.showModal();
        document.getElementById('box-ok').focus();
      });
    },

    // Opens the sound device at `rate` frames a second (or the browser's own);
    // its node calls `mix` for each block. The rate in force, or 0 without one.
    openSound: function(rate, mix) {
      var Device = window.AudioContext || window.webkitAudioContext;
      if (!Device) return 0;
      try {
        sound = new Device({sampleRate: rate});
      } catch (error) {
        try {
          sound = new Device();
        } catch (error2) {
          return 0;
        }
      }
      var node = sound.createScriptProcessor(2048, 0, 2);
      node.onaudioprocess = function(event) {
        var left = event.outputBuffer.getChannelData(0);
        var right = event.outputBuffer.getChannelData(1);
        var at = mix(left.length) >> 1;
        published.soundPlayed += left.length;
        for (var i = 0; i < left.length; ++i) {
          left[i] = at ? HEAP16[at + 2 * i] / 32768 : 0;
          right[i] = at ? HEAP16[at + 2 * i + 1] / 32768 : 0;
        }
      };
      node.connect(sound.destination);
      sound.corvaneNode = node;
      return sound.sampleRate;
    },
    closeSound: closeSound,
    // Keeps `count` samples at `samples` (a script's sound, mixed frame by frame).
    keepSound: function(samples, count) {
      if (!published.sound) published.sound = [];
      var from = samples >> 1;
      for (var i = 0; i < count; ++i) published.sound.push(HEAP16[from + i]);
    },

    // A value of the page's address (?keys=right:30&frames=40), or null.
    parameter: function(name) {
      return new URLSearchParams(window.location.search).get(name);
    },
    // The page's path on its site (/corvane.html).
    path: function() { return decodeURIComponent(window.location.pathname); },
    // A copy of text in the program's memory, which the program frees; 0 for null.
    newString: function(text) {
      if (text === null) return 0;
      var size = lengthBytesUTF8(text) + 1;
      var copy = _malloc(size);
      stringToUTF8(text, copy, size);
      return copy;
    },
    refreshRate: function() { return published.refreshRate; },
    screenPixels: function() {
      var ratio = window.devicePixelRatio || 1;
      return {width: Math.round(screen.width * ratio), height: Math.round(screen.height * ratio)};
    },

    ended: ended,
  };
})();
