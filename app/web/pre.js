// Per-user files (settings, progress, the log) live under the home folder of
// the page's file system, kept in the browser's IndexedDB: read back before
// the game starts and written out after every save. Saves end by renaming a
// finished temporary file over the old one, so a rename is the moment to sync.
Module['preRun'] = Module['preRun'] || [];
Module['preRun'].push(function() {
  var home = '/home/web_user';
  try {
    FS.mount(IDBFS, {}, home);
  } catch (e) {
    console.warn('Thalomir: no browser storage, settings last until the page closes');
    return;
  }
  var busy = false, again = false;
  function save() {
    if (busy) { again = true; return; }
    busy = true;
    FS.syncfs(false, function(err) {
      busy = false;
      if (err) console.warn('Thalomir: saving to browser storage failed: ' + err);
      if (again) { again = false; save(); }
      else if (Module['thalomirSaved']) Module['thalomirSaved']();
    });
  }
  var rename = FS.rename;
  FS.rename = function(from, to) {
    rename(from, to);
    if (String(to).indexOf(home + '/') === 0) save();
  };
  Module['addRunDependency']('thalomir-storage');
  FS.syncfs(true, function(err) {
    if (err) console.warn('Thalomir: reading browser storage failed: ' + err);
    Module['removeRunDependency']('thalomir-storage');
  });
});
