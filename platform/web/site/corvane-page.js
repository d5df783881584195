// The page around corvane.js: checks the browser, turns the URL into the
// game's arguments, sizes the picture, keeps best scores in IndexedDB and
// reports how the run ended. corvane.js reads the global Module set up here.
(function () {
  'use strict';

  const PICTURE_WIDTH = 800;
  const PICTURE_HEIGHT = 600;
  const PERSIST_DIR = '/persist';

  const byId = (id) => document.getElementById(id);
  const stage = byId('stage');
  const canvas = byId('canvas');
  const loading = byId('loading');
  const statusText = byId('status');
  const progress = byId('progress');
  const message = byId('message');
  const soundNote = byId('sound-note');
  const fullscreenButton = byId('fullscreen');

  // ---- The picture: 4:3 in whole device pixels, centred, bars around it.

  function fitCanvas() {
    const ratio = window.devicePixelRatio || 1;
    const box = stage.getBoundingClientRect();
    const unit = Math.max(1, Math.floor(Math.min(box.width * ratio / 4, box.height * ratio / 3)));
    const width = unit * 4;
    const height = unit * 3;
    Object.assign(canvas.style, {
      width: width / ratio + 'px',
      height: height / ratio + 'px',
      left: Math.floor((box.width * ratio - width) / 2) / ratio + 'px',
      top: Math.floor((box.height * ratio - height) / 2) / ratio + 'px',
    });
    canvas.classList.toggle('whole-scale', width % PICTURE_WIDTH === 0);
  }

  // A zoom or a move to another screen changes the pixel ratio, not always the size.
  function watchPixelRatio() {
    const query = window.matchMedia(`(resolution: ${window.devicePixelRatio || 1}dppx)`);
    query.addEventListener('change', () => { fitCanvas(); watchPixelRatio(); }, { once: true });
  }

  // ---- Fullscreen and the keyboard: keys go to the game, not to the page.

  function toggleFullscreen() {
    const current = document.fullscreenElement || document.webkitFullscreenElement;
    const request = current
      ? (document.exitFullscreen || document.webkitExitFullscreen).call(document)
      : (stage.requestFullscreen || stage.webkitRequestFullscreen).call(stage);
    if (request && request.catch) request.catch((error) => console.warn('fullscreen:', error.message));
  }

  function onKeyDown(event) {
    if ((event.code === 'F11' || (event.altKey && event.key === 'Enter')) && !event.repeat) {
      toggleFullscreen();
    }
    // Browser shortcuts with Ctrl or Cmd stay the browser's; the rest would
    // scroll, move the focus or reload (F5 is a game key).
    if (!event.ctrlKey && !event.metaKey) event.preventDefault();
  }

  function keepFocusOnGame() {
    window.addEventListener('keydown', onKeyDown, true);
    window.addEventListener('focus', () => canvas.focus({ preventScroll: true }));
    stage.addEventListener('pointerdown', () => canvas.focus({ preventScroll: true }));
    canvas.addEventListener('contextmenu', (event) => event.preventDefault());
    fullscreenButton.hidden = !(document.fullscreenEnabled || document.webkitFullscreenEnabled);
    fullscreenButton.addEventListener('pointerdown', (event) => event.preventDefault());
    fullscreenButton.addEventListener('click', () => {
      toggleFullscreen();
      canvas.focus({ preventScroll: true });
    });
    canvas.focus({ preventScroll: true });
  }

  // ---- Sound: browsers start audio only after the player has done something.

  function wakeAudioOnGesture() {
    const wake = () => {
      soundNote.hidden = true;
      if (typeof Module.corvaneResumeAudio !== 'function') return;  // not started yet: try again next time
      Module.corvaneResumeAudio();
      window.removeEventListener('keydown', wake, true);
      window.removeEventListener('pointerdown', wake, true);
    };
    window.addEventListener('keydown', wake, true);
    window.addEventListener('pointerdown', wake, true);
  }

  // ---- Messages and loading progress.

  // Replaces the loading panel; once the game is not running, the sound note
  // and the fullscreen button have nothing to offer.
  function showMessage(text) {
    loading.hidden = true;
    soundNote.hidden = true;
    fullscreenButton.hidden = true;
    message.textContent = text;
    message.hidden = false;
  }

  function megabytes(bytes) {
    return (bytes / 1048576).toFixed(1);
  }

  // Emscripten reports "Downloading data... (LOADED/TOTAL)", "Preparing... (DONE/TOTAL)"
  // and finally "" once the game runs.
  function showStatus(text) {
    downloading = false;
    if (!text) {
      loading.hidden = true;
      return;
    }
    const counts = /^(.*?)\s*\((\d+(?:\.\d+)?)\/(\d+)\)\s*$/.exec(text);
    if (!counts) {
      statusText.textContent = text === 'Running...' ? 'Starting…' : text;
      progress.removeAttribute('value');
      return;
    }
    const done = Number(counts[2]);
    const total = Number(counts[3]);
    const isBytes = /download/i.test(counts[1]);
    downloading = isBytes && done < total;
    statusText.textContent = isBytes
      ? `${counts[1]} ${megabytes(done)} of ${megabytes(total)} MB`
      : `${counts[1]} ${done} of ${total}`;
    progress.max = total || 1;
    progress.value = done;
  }

  // The download's byte count says more than the count of pending steps.
  let downloading = false;
  let dependencyTotal = 0;
  function showDependencies(left) {
    dependencyTotal = Math.max(dependencyTotal, left);
    if (left && !downloading) showStatus(`Preparing… (${dependencyTotal - left}/${dependencyTotal})`);
  }

  // ---- What the browser must have.

  function missingFeature() {
    if (typeof WebAssembly !== 'object' || typeof WebAssembly.instantiate !== 'function') {
      return 'WebAssembly';
    }
    // A scratch canvas: the game's own must get its context from the game.
    let gl = null;
    try {
      gl = document.createElement('canvas').getContext('webgl2');
    } catch (error) {
      gl = null;
    }
    if (!gl) return 'WebGL 2';
    const loser = gl.getExtension('WEBGL_lose_context');
    if (loser) loser.loseContext();
    return null;
  }

  // ---- URL query parameters → the automation options.

  const RUN_DIR = '/run';
  const OUTPUTS = {
    dump: `${RUN_DIR}/dump.jsonl`,
    trace: `${RUN_DIR}/trace.txt`,
    capture: `${RUN_DIR}/capture`,
    script: `${RUN_DIR}/script.txt`,
  };

  // Returns { args, script, wants } or throws an Error with the message for the player.
  function parseQuery(search) {
    const query = new URLSearchParams(search);
    const args = [];
    const wants = {};
    const script = query.get('script');
    if (script !== null) args.push('--script', OUTPUTS.script);
    if (query.has('frames')) args.push('--frames', query.get('frames'));
    if (query.has('dump')) {
      args.push('--dump', query.get('dump'), '--dump-file', OUTPUTS.dump);
      wants.dump = true;
    }
    if (query.has('capture')) {
      args.push('--capture', query.get('capture'), '--capture-dir', OUTPUTS.capture);
      wants.capture = true;
    }
    const trace = query.get('trace');
    if (trace === '1') {
      args.push('--sound-trace', OUTPUTS.trace);
      wants.trace = true;
    } else if (trace !== null && trace !== '0') {
      throw new Error(`trace=${trace}: use trace=1 for the sound trace`);
    }
    for (const name of query.keys()) {
      if (!['script', 'frames', 'dump', 'capture', 'trace'].includes(name)) {
        console.warn(`unknown parameter "${name}" ignored`);
      }
    }
    if (args.length) args.unshift('--headless');
    return { args: ['--data', '/data', ...args], script, wants };
  }

  // ---- Best scores: IndexedDB behind /persist. One sync at a time; a push
  // sends what changed here, a pull takes in what another tab of this page
  // saved. Neither runs over unsent changes: a tab that only reads must
  // never put its older copy back over a newer one.

  const store = { ready: false, busy: false, queue: [], idle: [], synced: new Map() };
  const channel = typeof BroadcastChannel === 'function' ? new BroadcastChannel('corvane-persist') : null;

  // Path → modification time of every file under /persist.
  function snapshotPersist() {
    const FS = Module.FS;
    const files = new Map();
    const walk = (dir) => {
      for (const name of FS.readdir(dir)) {
        if (name === '.' || name === '..') continue;
        const path = `${dir}/${name}`;
        const stat = FS.stat(path);
        if (FS.isDir(stat.mode)) walk(path);
        else files.set(path, stat.mtime.getTime());
      }
    };
    walk(PERSIST_DIR);
    return files;
  }

  function changedSinceSync() {
    const now = snapshotPersist();
    if (now.size !== store.synced.size) return true;
    for (const [path, time] of now) {
      if (store.synced.get(path) !== time) return true;
    }
    return false;
  }

  function queueSync(populate) {
    if (!store.ready) return;
    if (!store.queue.includes(populate)) store.queue.push(populate);
    runSyncQueue();
  }

  function runSyncQueue() {
    if (store.busy) return;
    const populate = store.queue.shift();
    if (populate === undefined) {
      store.idle.splice(0).forEach((resolve) => resolve());
      return;
    }
    // A push with nothing new, or a pull that would undo unsent changes, is skipped.
    const changed = changedSinceSync();
    if ((populate && changed) || (!populate && !changed)) {
      runSyncQueue();
      return;
    }
    store.busy = true;
    const sent = populate ? null : snapshotPersist();
    Module.FS.syncfs(populate, (error) => {
      store.busy = false;
      if (error) {
        console.warn('best scores: IndexedDB sync failed:', error);
      } else {
        store.synced = sent || snapshotPersist();
        if (!populate && channel) channel.postMessage('saved');
      }
      runSyncQueue();
    });
  }

  function syncsDone() {
    return new Promise((resolve) => {
      store.idle.push(resolve);
      runSyncQueue();
    });
  }

  function mountPersist() {
    const FS = Module.FS;
    FS.mkdir(PERSIST_DIR);
    FS.mount(FS.filesystems.IDBFS, {}, PERSIST_DIR);
    Module.ENV.XDG_DATA_HOME = `${PERSIST_DIR}/data`;
    Module.ENV.XDG_CONFIG_HOME = `${PERSIST_DIR}/config`;
    Module.addRunDependency('persist');
    FS.syncfs(true, (error) => {
      if (error) {
        console.warn('best scores: IndexedDB unavailable:', error);
        showNote('Best scores cannot be kept in this browser window.');
      } else {
        store.synced = snapshotPersist();
        store.ready = true;
      }
      Module.removeRunDependency('persist');
    });
    if (channel) channel.onmessage = () => queueSync(true);
    const pushIfChanged = () => queueSync(false);
    window.addEventListener('pagehide', pushIfChanged);
    document.addEventListener('visibilitychange', () => {
      if (document.visibilityState === 'hidden') pushIfChanged();
    });
  }

  // The preloaded data set is the installed one: read-only, as on disk, so
  // the best scores go to the user's data folder under /persist and last.
  function makeReadOnly(dir) {
    const FS = Module.FS;
    for (const name of FS.readdir(dir)) {
      if (name === '.' || name === '..') continue;
      const path = `${dir}/${name}`;
      if (FS.isDir(FS.stat(path).mode)) makeReadOnly(path);
      else FS.chmod(path, 0o444);
    }
    FS.chmod(dir, 0o555);
  }

  function showNote(text) {
    const note = document.createElement('p');
    note.className = 'note';
    note.style.top = 'auto';
    note.style.bottom = '0.5em';
    note.textContent = text;
    stage.appendChild(note);
  }

  // ---- The end of a run: outputs into their elements, then the title.

  function readText(path) {
    try {
      return Module.FS.readFile(path, { encoding: 'utf8' });
    } catch (error) {
      return '';
    }
  }

  function pngDataUrl(bytes) {
    let binary = '';
    for (let at = 0; at < bytes.length; at += 0x8000) {
      binary += String.fromCharCode.apply(null, bytes.subarray(at, at + 0x8000));
    }
    return 'data:image/png;base64,' + btoa(binary);
  }

  // [element id, text] for each output the URL asked for.
  function collectOutputs(wants) {
    const outputs = [];
    if (wants.dump) outputs.push(['corvane-dump', readText(OUTPUTS.dump)]);
    if (wants.trace) outputs.push(['corvane-trace', readText(OUTPUTS.trace)]);
    if (wants.capture) {
      let names = [];
      try {
        names = Module.FS.readdir(OUTPUTS.capture).sort();
      } catch (error) {
        // A run that failed before it started has no folder.
      }
      for (const name of names) {
        const frame = /^frame-(\d+)\.png$/.exec(name);
        if (frame) {
          outputs.push([`corvane-capture-${frame[1]}`,
            pngDataUrl(Module.FS.readFile(`${OUTPUTS.capture}/${name}`))]);
        }
      }
    }
    return outputs;
  }

  function publishOutputs(outputs) {
    const results = byId('corvane-results');
    for (const [id, text] of outputs) {
      const pre = document.createElement('pre');
      pre.id = id;
      pre.textContent = text;
      results.appendChild(pre);
    }
  }

  function fail(reason) {
    document.title = `corvane: error: ${reason}`;
    showMessage(`Corvane stopped: ${reason}`);
  }

  // ---- The run.

  const runState = { lastError: '', ended: false, mainLeftForBrowser: false };

  // Outputs first, then the scores saved, then the title that says it is over.
  function endRun(wants, status, aborted) {
    if (runState.ended) return;
    runState.ended = true;
    // After a microtask, so an abort has printed its own last line.
    Promise.resolve().then(() => {
      const outputs = collectOutputs(wants);
      queueSync(false);
      return syncsDone().then(() => {
        publishOutputs(outputs);
        if (aborted || status !== 0) {
          fail(runState.lastError || `exit status ${status}`);
        } else {
          document.title = 'corvane: done';
          showMessage('The game has ended. Reload the page to play again.');
        }
      });
    }).catch((error) => fail(`the page could not collect the results: ${error.message}`));
  }

  // Errors before the game starts (the data failing to download, say) would
  // otherwise leave the loading bar standing forever.
  function failBeforeStart(event) {
    if (runState.ended) return;
    runState.ended = true;
    fail((event.error && event.error.message) || event.message || 'the page failed to start');
  }

  function prepareRunFiles(script) {
    const FS = Module.FS;
    FS.mkdir(RUN_DIR);
    FS.mkdir(OUTPUTS.capture);
    if (script !== null) FS.writeFile(OUTPUTS.script, script);
  }

  function createModule(run) {
    return {
      canvas,
      arguments: run.args,
      preRun: [mountPersist, () => prepareRunFiles(run.script)],
      onRuntimeInitialized: () => {
        window.removeEventListener('error', failBeforeStart);
        makeReadOnly('/data');
      },
      print: (line) => console.log(line),
      printErr: (line) => {
        if (line.trim()) runState.lastError = line.trim();
        console.error(line);
      },
      setStatus: showStatus,
      monitorRunDependencies: showDependencies,
      corvanePersist: () => queueSync(false),
      // exit() reaches onExit only when nothing keeps the runtime alive, and
      // the game's sleeps do; quit comes always, but also when main first
      // sleeps (emscripten's callMain takes that for main returning), which
      // is before postRun.
      onExit: (status) => endRun(run.wants, status, false),
      quit: (status, thrown) => {
        if (runState.mainLeftForBrowser) endRun(run.wants, status, false);
        throw thrown;
      },
      postRun: [() => { runState.mainLeftForBrowser = true; }],
      onAbort: () => endRun(run.wants, 1, true),
    };
  }

  function start() {
    fitCanvas();
    window.addEventListener('resize', fitCanvas);
    watchPixelRatio();
    keepFocusOnGame();

    const missing = missingFeature();
    if (missing) {
      document.title = `corvane: error: this browser lacks ${missing}`;
      showMessage(`Corvane needs ${missing}, which this browser does not offer or has turned off.\n` +
        'A current Firefox, Chrome, Edge or Safari has it; check that hardware acceleration ' +
        'is on in the browser\'s settings.');
      return;
    }
    let run;
    try {
      run = parseQuery(window.location.search);
    } catch (error) {
      fail(error.message);
      return;
    }

    window.Module = createModule(run);
    wakeAudioOnGesture();
    window.addEventListener('error', failBeforeStart);
    const script = document.createElement('script');
    script.src = 'corvane.js';
    script.onerror = () => failBeforeStart({ message: 'corvane.js could not be loaded' });
    document.body.appendChild(script);
  }

  start();
})();
