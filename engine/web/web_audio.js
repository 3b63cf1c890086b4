// Web Audio for the web backend (engine/web/web_audio.cpp). Sounds are
// decoded by the browser in the background; a sound played before it is
// decoded starts once it is. Browsers keep audio suspended until the first
// click or key press: the context is resumed then, and music started before
// plays from there on, while effects asked for in the silence are dropped.
mergeInto(LibraryManager.library, {
  $TideAudio: {
    ctx: null,
    sounds: {},   // id -> {buffer, waiting: [channel ids]}
    channels: {}, // id -> {sound, loop, gain node, source, ended}
    nextId: 1,
    start: function(ch) {
      var a = TideAudio, c = a.channels[ch];
      if (!c || c.ended || c.source) return;
      var s = a.sounds[c.sound];
      if (!s || !s.buffer) return;
      var src = a.ctx.createBufferSource();
      src.buffer = s.buffer;
      src.loop = c.loop;
      src.connect(c.gain);
      src.onended = function() { c.ended = true; delete a.channels[ch]; };
      src.start();
      c.source = src;
    },
  },

  tideAudioOpen__deps: ['$TideAudio'],
  tideAudioOpen: function() {
    var AC = window.AudioContext || window.webkitAudioContext;
    if (!AC) return 0;
    try {
      TideAudio.ctx = new AC();
    } catch (e) {
      return 0;
    }
    var resume = function() {
      if (TideAudio.ctx && TideAudio.ctx.state !== 'running') TideAudio.ctx.resume();
    };
    ['pointerdown', 'keydown', 'touchend'].forEach(function(t) {
      window.addEventListener(t, resume, true);
    });
    return 1;
  },

  tideAudioClose__deps: ['$TideAudio'],
  tideAudioClose: function() {
    if (TideAudio.ctx) TideAudio.ctx.close();
    TideAudio.ctx = null;
    TideAudio.sounds = {};
    TideAudio.channels = {};
  },

  tideAudioLoad__deps: ['$TideAudio'],
  tideAudioLoad: function(ptr, size) {
    var a = TideAudio;
    if (!a.ctx) return 0;
    var id = a.nextId++;
    var s = {buffer: null, waiting: []};
    a.sounds[id] = s;
    var bytes = HEAPU8.slice(ptr, ptr + size).buffer;
    a.ctx.decodeAudioData(bytes).then(function(buffer) {
      s.buffer = buffer;
      s.waiting.forEach(a.start);
      s.waiting = [];
    }, function() {
      console.warn('Thalomir: a sound could not be decoded');
      s.waiting.forEach(function(ch) { if (a.channels[ch]) a.channels[ch].ended = true; });
    });
    return id;
  },

  tideAudioFree__deps: ['$TideAudio'],
  tideAudioFree: function(id) {
    var a = TideAudio;
    for (var ch in a.channels) {
      var c = a.channels[ch];
      if (c.sound === id) {
        if (c.source) c.source.stop();
        c.ended = true;
        delete a.channels[ch];
      }
    }
    delete a.sounds[id];
  },

  tideAudioPlay__deps: ['$TideAudio'],
  tideAudioPlay: function(id, loop, gain, isMusic) {
    var a = TideAudio, s = a.sounds[id];
    if (!a.ctx || !s) return -1;
    // An effect asked for before audio may start would burst out with all
    // the others at the first click.
    if (!isMusic && a.ctx.state !== 'running') return -1;
    var ch = a.nextId++;
    var g = a.ctx.createGain();
    g.gain.value = gain;
    g.connect(a.ctx.destination);
    a.channels[ch] = {sound: id, loop: !!loop, gain: g, source: null, ended: false};
    if (s.buffer) a.start(ch); else s.waiting.push(ch);
    return ch;
  },

  tideAudioSetGain__deps: ['$TideAudio'],
  tideAudioSetGain: function(ch, gain) {
    var c = TideAudio.channels[ch];
    if (c) c.gain.gain.value = gain;
  },

  tideAudioStop__deps: ['$TideAudio'],
  tideAudioStop: function(ch) {
    var c = TideAudio.channels[ch];
    if (!c) return;
    c.ended = true;
    if (c.source) c.source.stop();
    delete TideAudio.channels[ch];
  },

  tideAudioPlaying__deps: ['$TideAudio'],
  tideAudioPlaying: function(ch) {
    var c = TideAudio.channels[ch];
    return c && !c.ended ? 1 : 0;
  },
});
