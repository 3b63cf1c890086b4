// Per-user files (settings, progress, the log) live under the home folder of
// the page's file system, kept in the browser's IndexedDB: read back before
// the game starts and written out after every save. Saves end by renaming a
// finished temporary file over the old one, so a rename is the moment to sync.
//
// Every tab holds its own copy of those files, and the last one to write
// its copy out would undo the others' saves. So only one tab of the game
// owns them: the first to take a Web Lock, held while its page lives. Any
// other tab reads them, says the game is open elsewhere and saves nothing.
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
  function own() {
    var rename = FS.rename;
    FS.rename = function(from, to) {
      rename(from, to);
      if (String(to).indexOf(home + '/') === 0) save();
    };
    // A page hidden may never come back: the battle under way is saved as
    // it stands, as a desktop game saves it when it ends.
    function leaving() {
      if (Module['_thalomir_page_hidden']) Module['_thalomir_page_hidden']();
    }
    document.addEventListener('visibilitychange', function() {
      if (document.visibilityState === 'hidden') leaving();
    });
    window.addEventListener('pagehide', leaving);
  }
  function elsewhere() {
    Module['thalomirElsewhere'] = true;
    if (Module['thalomirShowElsewhere']) Module['thalomirShowElsewhere']();
  }

  Module['addRunDependency']('thalomir-storage');
  var pending = 2;
  function ready() {
    if (--pending === 0) Module['removeRunDependency']('thalomir-storage');
  }
  FS.syncfs(true, function(err) {
    if (err) console.warn('Thalomir: reading browser storage failed: ' + err);
    ready();
  });
  if (!navigator.locks || !navigator.locks.request) {
    own();  // no way to tell: behave as the only tab
    ready();
    return;
  }
  // A reloaded page may wait a moment for its former self to let go.
  var options = typeof AbortSignal !== 'undefined' && AbortSignal.timeout ?
      {signal: AbortSignal.timeout(1500)} : {ifAvailable: true};
  navigator.locks.request('thalomir-files', options, function(lock) {
    if (!lock) {
      elsewhere();
      ready();
      return;
    }
    own();
    ready();
    return new Promise(function() {});  // held until the page goes
  }).catch(function() {
    elsewhere();
    ready();
  });
});
