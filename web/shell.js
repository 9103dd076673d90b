// The page a player meets: it loads the program and its media with a bar,
// starts the program at the player's first click or key (which also lets
// the page make sound), shows the canvas scaled by whole device pixels, keeps the game's keys from scrolling or leaving the page, gives
// touch screens taps as clicks and keys of their own, and says when the
// program has ended.
(function () {
  'use strict';

  var config = JSON.parse(document.getElementById('quorbel-config').textContent);
  var stage = document.getElementById('stage');
  var canvas = document.getElementById('canvas');
  var overlay = document.getElementById('overlay');
  var loading = document.getElementById('loading');
  var loaded = document.getElementById('loaded');
  var loadingText = document.getElementById('loading-text');
  var play = document.getElementById('play');
  var ended = document.getElementById('ended');
  var endedText = document.getElementById('ended-text');
  var touchKeys = document.getElementById('touch-keys');

  // What tests and tools read: 'loading', 'ready', 'running', 'ended'.
  var state = {phase: 'loading', exitCode: null, error: null, startedAt: -1e9};
  window.quorbelState = state;

  // ------------------------------------------------------------ layout

  // The canvas has the program's own pixels (its screen, 320 x 240 for the
  // game); the page shows it at the largest whole number of device pixels a
  // pixel that fits the stage, centred between black bars, without blur.
  function layout() {
    var ratio = window.devicePixelRatio || 1;
    var box = stage.getBoundingClientRect();
    var width = canvas.width || 320;
    var height = canvas.height || 240;
    var scale = Math.floor(Math.min(box.width * ratio / width, box.height * ratio / height));
    var cssWidth, cssHeight;
    if (scale >= 1) {
      cssWidth = width * scale / ratio;
      cssHeight = height * scale / ratio;
    } else {
      // Smaller than the screen itself: fitted, if not crisp.
      var fit = Math.min(box.width / width, box.height / height);
      cssWidth = width * fit;
      cssHeight = height * fit;
    }
    canvas.style.width = cssWidth + 'px';
    canvas.style.height = cssHeight + 'px';
    // The corner on a whole device pixel.
    canvas.style.left = Math.floor((box.width - cssWidth) / 2 * ratio) / ratio + 'px';
    canvas.style.top = Math.floor((box.height - cssHeight) / 2 * ratio) / ratio + 'px';
  }
  window.addEventListener('resize', layout);
  // The program sizes the canvas when it opens its window.
  new MutationObserver(layout).observe(canvas, {attributes: true, attributeFilter: ['width', 'height']});
  layout();

  // ------------------------------------------------------------ keyboard or touch

  var coarse = window.matchMedia && window.matchMedia('(any-pointer: coarse)').matches &&
      !window.matchMedia('(any-pointer: fine)').matches;
  var keyboardSeen = false;
  function showTouchKeys(shown) {
    if (touchKeys.hidden === !shown) return;
    touchKeys.hidden = !shown;
    layout();
    window.dispatchEvent(new Event('resize'));
  }
  showTouchKeys(coarse);

  // Keys that would scroll, go back, reload or leave the page do nothing
  // there while the program runs; the program still sees them.
  var heldByPage = /^(Arrow|Page|Home$|End$|Space$|Backspace$|Tab$|F\d+$|Enter$|NumpadEnter$)/;
  window.addEventListener('keydown', function (event) {
    if (event.isTrusted && !keyboardSeen) {
      keyboardSeen = true;
      showTouchKeys(false);
    }
    if (state.phase === 'running' && (heldByPage.test(event.code) || event.altKey))
      event.preventDefault();
  }, true);

  function sendKey(code, down) {
    var type = down ? 'keydown' : 'keyup';
    window.dispatchEvent(new KeyboardEvent(type, {code: code, key: code, bubbles: true}));
  }

  // An on-screen key is held at least a tenth of a second, so the program,
  // which looks at its keys once a frame, sees every tap of one.
  Array.prototype.forEach.call(touchKeys.querySelectorAll('button'), function (button) {
    var pressedAt = 0;
    var down = false;
    function press(event) {
      event.preventDefault();
      if (state.phase === 'ready') start();
      if (down) return;
      down = true;
      pressedAt = performance.now();
      button.classList.add('held');
      sendKey(button.dataset.code, true);
    }
    function release(event) {
      event.preventDefault();
      if (!down) return;
      down = false;
      var wait = Math.max(0, 100 - (performance.now() - pressedAt));
      setTimeout(function () {
        button.classList.remove('held');
        sendKey(button.dataset.code, false);
      }, wait);
    }
    button.addEventListener('pointerdown', press);
    button.addEventListener('pointerup', release);
    button.addEventListener('pointercancel', release);
    button.addEventListener('pointerleave', release);
  });

  // Taps on the canvas are mouse clicks, held a tenth of a second as well.
  function mouseAt(type, touch) {
    canvas.dispatchEvent(new MouseEvent(type, {
      bubbles: true, cancelable: true, view: window, button: 0, buttons: type === 'mouseup' ? 0 : 1,
      clientX: touch.clientX, clientY: touch.clientY, screenX: touch.screenX, screenY: touch.screenY,
    }));
  }
  var touchStart = 0;
  var touchId = null;
  stage.addEventListener('touchstart', function (event) {
    if (event.target !== canvas) return;
    event.preventDefault();
    event.stopPropagation();
    if (state.phase === 'ready') start();
    // The tap that started the program is no click in it.
    if (touchId !== null || performance.now() - state.startedAt < 300) return;
    var touch = event.changedTouches[0];
    touchId = touch.identifier;
    touchStart = performance.now();
    mouseAt('mousemove', touch);
    mouseAt('mousedown', touch);
  }, {capture: true, passive: false});
  stage.addEventListener('touchmove', function (event) {
    if (event.target !== canvas) return;
    event.preventDefault();
    event.stopPropagation();
    Array.prototype.forEach.call(event.changedTouches, function (touch) {
      if (touch.identifier === touchId) mouseAt('mousemove', touch);
    });
  }, {capture: true, passive: false});
  function touchEnd(event) {
    if (event.target !== canvas) return;
    event.preventDefault();
    event.stopPropagation();
    Array.prototype.forEach.call(event.changedTouches, function (touch) {
      if (touch.identifier !== touchId) return;
      touchId = null;
      var wait = Math.max(0, 100 - (performance.now() - touchStart));
      setTimeout(function () { mouseAt('mouseup', touch); }, wait);
    });
  }
  stage.addEventListener('touchend', touchEnd, {capture: true, passive: false});
  stage.addEventListener('touchcancel', touchEnd, {capture: true, passive: false});

  // ------------------------------------------------------------ full screen

  function fullScreenElement() {
    return document.fullscreenElement || document.webkitFullscreenElement || null;
  }
  // The whole page goes full screen, the on-screen keys with it. F11 and
  // Alt+Enter reach the program, which asks here; each asks for the other
  // state than the page is in.
  function toggleFullScreen() {
    var root = document.documentElement;
    if (fullScreenElement()) {
      (document.exitFullscreen || document.webkitExitFullscreen).call(document);
      return true;
    }
    var request = root.requestFullscreen || root.webkitRequestFullscreen;
    if (!request) return false;
    var result = request.call(root);
    if (result && result.catch) result.catch(function () {});
    return true;
  }
  document.getElementById('full-screen').addEventListener('click', function (event) {
    event.preventDefault();
    toggleFullScreen();
    canvas.focus();
  });
  document.addEventListener('fullscreenchange', layout);

  // ------------------------------------------------------------ loading

  function arguments_() {
    var list = (config.args || []).slice();
    var query = new URLSearchParams(location.search).get('args');
    if (query) list = list.concat(query.split(' ').filter(Boolean));
    return list;
  }

  function fetchWithProgress(file, progress) {
    return fetch(file.url).then(function (response) {
      if (!response.ok) throw new Error(file.url + ': ' + response.status);
      if (!response.body || !response.body.getReader) {
        return response.arrayBuffer().then(function (buffer) {
          progress(buffer.byteLength);
          return new Uint8Array(buffer);
        });
      }
      var reader = response.body.getReader();
      var pieces = [];
      var size = 0;
      function next() {
        return reader.read().then(function (piece) {
          if (piece.done) {
            var whole = new Uint8Array(size);
            var at = 0;
            pieces.forEach(function (p) { whole.set(p, at); at += p.length; });
            return whole;
          }
          pieces.push(piece.value);
          size += piece.value.length;
          progress(piece.value.length);
          return next();
        });
      }
      return next();
    });
  }

  // The program's script, its WebAssembly and its media load side by side;
  // the bar shows the two large ones.
  function load() {
    var files = [config.wasm];
    if (config.data) files.push(config.data);
    var total = files.reduce(function (sum, file) { return sum + file.size; }, 0);
    var done = 0;
    function progress(bytes) {
      done += bytes;
      var share = total ? Math.min(1, done / total) : 1;
      loaded.style.width = (share * 100).toFixed(1) + '%';
      loadingText.textContent = 'Loading\u2026 ' + Math.round(share * 100) + '%';
    }
    function failed(error) {
      showEnd('The game could not be loaded: ' + (error && error.message || error));
    }
    var wasm = fetchWithProgress(config.wasm, progress);
    var data = config.data ? fetchWithProgress(config.data, progress) : Promise.resolve(null);
    wasm.catch(failed);
    data.catch(failed);
    startModule(wasm, data.then(media), failed);
  }

  function media(data) {
    if (!data) return [];
    return config.data.files.map(function (file) {
      return {path: file[0], bytes: data.subarray(file[1], file[1] + file[2])};
    });
  }

  var audio = null;
  function startModule(wasm, files, failed) {
    window.Module = {
      canvas: canvas,
      arguments: arguments_(),
      // argv[0]: the program's own file in its folder, as a desktop shell names it.
      thisProgram: config.folder + '/' + config.program,
      instantiateWasm: function (imports, receive) {
        wasm.then(function (bytes) { return WebAssembly.instantiate(bytes, imports); })
          .then(function (result) { receive(result.instance, result.module); })
          .catch(failed);
        return {};
      },
      quorbelPage: {
        program: config.program,
        folder: config.folder,
        media: files,
        mediaTime: config.mediaTime,
        fullScreen: toggleFullScreen,
        programEnds: programEnds,
      },
      print: function (text) { console.log(text); },
      printErr: function (text) { console.warn(text); },
      onAbort: function (what) { showEnd('The game stopped with an error: ' + what); },
      onRuntimeInitialized: ready,
      locateFile: function (name) { return config.root + name; },
    };
    var script = document.createElement('script');
    script.src = config.script;
    script.onerror = function () { failed('its script is missing'); };
    document.body.appendChild(script);
  }

  // ------------------------------------------------------------ starting

  function ready() {
    state.phase = 'ready';
    loading.hidden = true;
    play.hidden = false;
    if (coarse) document.getElementById('play-text').textContent = 'Tap to play';
    play.focus();
  }

  // The first gesture starts the program; sound is allowed from it on, and
  // the program's sound device takes the audio context opened here.
  function start() {
    if (state.phase !== 'ready') return;
    state.phase = 'running';
    state.startedAt = performance.now();
    overlay.classList.add('gone');
    play.hidden = true;
    canvas.focus();
    try {
      var Context = window.AudioContext || window.webkitAudioContext;
      if (Context) {
        // At the runtime's own rate its mix reaches the page unconverted.
        try {
          audio = new Context({sampleRate: 22050});
        } catch (unsupported) {
          audio = new Context();
        }
        audio.resume();
        Module.SDL2 = Module.SDL2 || {};
        Module.SDL2.audioContext = audio;
      }
    } catch (noSound) {
      audio = null;
    }
    try {
      Module.callMain(Module.arguments);
    } catch (failure) {
      if (!(failure && failure.name === 'ExitStatus')) showEnd('The game stopped with an error: ' + failure);
    }
  }
  function firstGesture(event) {
    if (state.phase !== 'ready') return;
    if (event.type === 'keydown' && (event.ctrlKey || event.metaKey)) return;
    event.preventDefault();
    event.stopPropagation();
    start();
  }
  window.addEventListener('keydown', firstGesture, true);
  window.addEventListener('pointerdown', firstGesture, true);
  canvas.addEventListener('mousedown', function () { canvas.focus(); });

  // ------------------------------------------------------------ the end

  function programEnds(code) {
    state.exitCode = code;
    var saved = Module.quorbelFilesSaved ? Module.quorbelFilesSaved() : Promise.resolve();
    saved.then(function () { showEnd(code === 0 ? 'The game has ended.' : 'The game ended with code ' + code + '.'); });
  }

  function showEnd(text) {
    if (state.phase === 'ended') return;
    state.phase = 'ended';
    if (/error/.test(text)) state.error = text;
    if (document.pointerLockElement) document.exitPointerLock();
    if (audio && audio.suspend) audio.suspend();
    endedText.textContent = text;
    loading.hidden = true;
    play.hidden = true;
    ended.hidden = false;
    overlay.classList.remove('gone');
    document.getElementById('again').focus();
    document.title = document.title.replace(/ <pause>$/, '');
  }
  document.getElementById('again').addEventListener('click', function () { location.reload(); });

  load();
})();
