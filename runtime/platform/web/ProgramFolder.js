// The program's folder in a browser page, set up before the program starts.
// The page hands over the program's name, its folder and the media it loads
// (Module.quorbelPage). The folder is kept in the browser's IndexedDB
// (IDBFS): what the program wrote there on an earlier visit comes back, the
// media are written in over it, and every file the program closes after
// writing, renames or deletes there is saved at once, not only when the page
// closes. The media themselves are not saved: they come with the page.
// The error log's lines also go to the browser's console, and a hidden page
// tells the program as a window losing its activation does.
Module['preRun'] = Module['preRun'] || [];
Module['preRun'].push(function () {
  var page = Module['quorbelPage'] || {};
  var folder = page.folder || '/program';
  var mediaTime = page.mediaTime || 0;
  var mediaPaths = {};

  // ------------------------------------------------------------ the folder
  FS.mkdirTree(folder);
  FS.mount(IDBFS, {}, folder);
  FS.symlink(folder + '/' + (page.program || 'program'), '/proc/self/exe');

  var localSet = IDBFS.getLocalSet;
  IDBFS.getLocalSet = function (mount, callback) {
    localSet(mount, function (error, set) {
      if (!error) {
        Object.keys(set.entries).forEach(function (path) {
          if (mediaPaths[path] && set.entries[path].timestamp.getTime() === mediaTime)
            delete set.entries[path];
        });
      }
      callback(error, set);
    });
  };

  // Saving starts once the folder stands as the program will find it.
  var watching = false;
  addRunDependency('quorbel-folder');
  // The media may still be on their way (a list, or a promise of one).
  var saved = new Promise(function (resolve) {
    FS.syncfs(true, function (error) {
      if (error) console.warn('Saved files could not be read back:', error);
      resolve();
    });
  });
  Promise.all([saved, page.media || []]).then(function (arrived) {
    var made = {};
    arrived[1].forEach(function (file) {
      var path = folder + '/' + file.path;
      var parent = path.substring(0, path.lastIndexOf('/'));
      mediaPaths[path] = true;
      if (!made[parent]) FS.mkdirTree(parent);
      made[parent] = true;
      FS.writeFile(path, file.bytes);
      FS.utime(path, mediaTime, mediaTime);
    });
    watching = true;
    removeRunDependency('quorbel-folder');
  });

  // ------------------------------------------------------------ saving
  var saving = null;
  var again = false;
  function save() {
    if (saving) {
      again = true;
      return saving;
    }
    saving = new Promise(function (resolve) {
      FS.syncfs(false, function (error) {
        if (error) console.warn('Files could not be saved:', error);
        resolve();
      });
    }).then(function () {
      saving = null;
      if (again) {
        again = false;
        return save();
      }
    });
    return saving;
  }
  // Settles once every save asked for so far is done.
  Module['quorbelFilesSaved'] = function () { return saving || Promise.resolve(); };

  // Paths may come relative to the working folder, which is the program's.
  function inFolder(path) {
    if (!watching || typeof path !== 'string') return false;
    var whole = path.charAt(0) === '/' ? path : FS.cwd().replace(/\/$/, '') + '/' + path;
    return whole.indexOf(folder + '/') === 0;
  }

  // ------------------------------------------------------------ the error log
  // The page sets no TMPDIR: the temporary folder is /tmp.
  var logPath = '/tmp/ErrorLog.txt';
  var logShown = 0;
  function showLog() {
    var text;
    try {
      text = FS.readFile(logPath, {encoding: 'utf8'});
    } catch (missing) {
      logShown = 0;
      return;
    }
    if (text.length < logShown) logShown = 0;
    text.substring(logShown).split(/\r?\n/).forEach(function (line) {
      if (line) console.warn('ErrorLog: ' + line);
    });
    logShown = text.length;
  }

  var close = FS.close;
  FS.close = function (stream) {
    var path = stream && stream.path;
    var written = stream && (stream.flags & 3) !== 0;
    var result = close.apply(this, arguments);
    if (written && inFolder(path)) save();
    if (written && path === logPath) showLog();
    return result;
  };
  ['unlink', 'rename', 'rmdir', 'mkdir'].forEach(function (name) {
    var call = FS[name];
    FS[name] = function (path) {
      var result = call.apply(this, arguments);
      if (inFolder(path) || (name === 'rename' && inFolder(arguments[1]))) save();
      if (name === 'unlink' && (path === logPath || path === 'ErrorLog.txt' && FS.cwd() === '/tmp'))
        logShown = 0;
      return result;
    };
  });

  // ------------------------------------------------------------ a hidden page
  document.addEventListener('visibilitychange', function () {
    if (Module['_quorbel_page_shown']) Module['_quorbel_page_shown'](document.hidden ? 0 : 1);
  });
});
