// What the next run plays, as the player chooses it beside the game: the circuit (the game's
// own, one that comes with it, or a level.map and a level.bpb uploaded with "Charger un
// circuit" or dropped onto the page), whether the run is offered as a demo to download, and a
// demo (.vdm) dropped onto the page, which ends the run in progress and is watched next. The
// web entry asks here as each run starts, when the dialog has ended, and when the run is over.
var VelkoRuns = (function (shared) {
  'use strict';

  var programDirectory = '/velko/';
  var levelsDirectory = programDirectory + 'levels/';
  var uploadDirectory = programDirectory + 'upload';
  var droppedDirectory = programDirectory + 'demos/';
  var recordedDemo = programDirectory + 'demo.vdm';
  var gamePicture = programDirectory + 'level.bpb';
  // The circuit files an upload is made of, by their extension.
  var circuitFiles = { map: 'level.map', bpb: 'level.bpb' };

  var choices = {};          // elements of the page
  var circuitsListed = false;
  var droppedDemo = '';      // the path of a dropped demo not watched yet
  var recordAsked = false;   // the tick as it was when the dialog ended
  var demosOffered = 0;      // demo000.vdm, demo001.vdm, ... in each visit

  function find(id) { return document.getElementById(id); }

  function setUp() {
    choices.bar = find('velko-choices');
    choices.circuit = find('velko-circuit');
    choices.upload = find('velko-upload');
    choices.record = find('velko-record');
    choices.demo = find('velko-demo');
    choices.upload.addEventListener('change', function () {
      receive(Array.from(choices.upload.files)).then(function () { choices.upload.value = ''; });
    });
    // Files dropped anywhere on the page; the browser would otherwise open them in its place.
    document.addEventListener('dragover', function (e) {
      e.preventDefault();
      if (e.dataTransfer) e.dataTransfer.dropEffect = 'copy';
    });
    document.addEventListener('drop', function (e) {
      e.preventDefault();
      if (e.dataTransfer && e.dataTransfer.files.length) receive(Array.from(e.dataTransfer.files));
    });
  }

  function say(text) {
    var status = shared.page.status;
    if (status) status.textContent = text;
  }

  function isFolder(path) {
    try {
      return FS.isDir(FS.stat(path).mode);
    } catch (e) {
      return false;
    }
  }

  function exists(path) {
    try {
      FS.stat(path);
      return true;
    } catch (e) {
      return false;
    }
  }

  // The circuits that come with the game, each in levels/NAME/, offered by name. The page
  // carries a circuit's level.bpb only where it differs from the game's own: elsewhere the
  // circuit's picture is the game's.
  function listCircuits() {
    if (circuitsListed) return;
    circuitsListed = true;
    if (!isFolder(levelsDirectory)) return;
    FS.readdir(levelsDirectory).sort().forEach(function (name) {
      var folder = levelsDirectory + name;
      if (name === '.' || name === '..' || !isFolder(folder) || !exists(folder + '/level.map')) {
        return;
      }
      if (!exists(folder + '/level.bpb')) FS.symlink(gamePicture, folder + '/level.bpb');
      var option = document.createElement('option');
      option.value = name;
      option.textContent = name;
      choices.circuit.appendChild(option);
    });
  }

  function setChoosing(on) {
    choices.circuit.disabled = !on;
    choices.upload.disabled = !on;
    choices.record.disabled = !on;
    document.body.classList.toggle('velko-driving', !on);
  }

  // The uploaded circuit joins the choice, and is chosen.
  function chooseUpload() {
    var option = choices.circuit.querySelector('option[value="' + uploadDirectory + '"]');
    if (!option) {
      option = document.createElement('option');
      option.value = uploadDirectory;
      option.textContent = 'charg\u00e9 (level.map, level.bpb)';
      choices.circuit.appendChild(option);
    }
    choices.circuit.value = uploadDirectory;
  }

  // A file name the game can show and open: its letters, digits, dots, dashes and underscores.
  function safeName(name) {
    return name.replace(/[^A-Za-z0-9._-]/g, '_').slice(-64);
  }

  function extensionOf(name) {
    var dot = name.lastIndexOf('.');
    return dot < 0 ? '' : name.slice(dot + 1).toLowerCase();
  }

  // Files from the upload button or a drop. A level.map and a level.bpb replace the last
  // upload as a whole (the game says which one is missing, if one is); a demo is watched now.
  function receive(files) {
    return Promise.all(files.map(function (file) {
      return file.arrayBuffer().then(function (buffer) {
        return { name: file.name, bytes: new Uint8Array(buffer) };
      });
    })).then(function (read) {
      var circuit = read.filter(function (f) { return circuitFiles[extensionOf(f.name)]; });
      var demos = read.filter(function (f) { return extensionOf(f.name) === 'vdm'; });
      var ignored = read.filter(function (f) {
        return !circuitFiles[extensionOf(f.name)] && extensionOf(f.name) !== 'vdm';
      });
      if (circuit.length) {
        FS.mkdirTree(uploadDirectory);
        Object.keys(circuitFiles).forEach(function (extension) {
          var path = uploadDirectory + '/' + circuitFiles[extension];
          if (exists(path)) FS.unlink(path);
        });
        circuit.forEach(function (f) {
          FS.writeFile(uploadDirectory + '/' + circuitFiles[extensionOf(f.name)], f.bytes);
        });
        chooseUpload();
      }
      if (demos.length) {
        var demo = demos[demos.length - 1];
        FS.mkdirTree(droppedDirectory);
        droppedDemo = droppedDirectory + safeName(demo.name);
        FS.writeFile(droppedDemo, demo.bytes);
        shared.closeRun();
      }
      say(ignored.length ? 'Fichiers ignor\u00e9s (ni .map, ni .bpb, ni .vdm) : ' +
        ignored.map(function (f) { return f.name; }).join(', ') : '');
    }).catch(function (e) {
      say('Fichiers illisibles : ' + e);
    });
  }

  function writePath(path, pointer, size) {
    if (lengthBytesUTF8(path) >= size) return -1;
    stringToUTF8(path, pointer, size);
    return lengthBytesUTF8(path);
  }

  // A run starts: the choices are open until the dialog has ended, and closed while a demo is
  // watched.
  function runStarting(watching) {
    listCircuits();
    shared.runStarting();
    choices.demo.hidden = true;
    setChoosing(!watching);
  }

  function levelFolder(pointer, size) {
    recordAsked = choices.record.checked;
    setChoosing(false);
    return writePath(choices.circuit.value, pointer, size);
  }

  // The run is over: the demo of a run driven with the tick on is offered beside "Rejouer".
  function runEnded(demoRecorded) {
    setChoosing(true);
    if (!demoRecorded || !recordAsked || !exists(recordedDemo)) return;
    var name = 'demo' + String(demosOffered++).padStart(3, '0') + '.vdm';
    var link = choices.demo;
    if (link.href) URL.revokeObjectURL(link.href);
    link.href = URL.createObjectURL(
      new Blob([FS.readFile(recordedDemo)], { type: 'application/octet-stream' }));
    link.download = name;
    link.textContent = 'T\u00e9l\u00e9charger la d\u00e9mo ' + name;
    link.hidden = false;
  }

  function takeDemo(pointer, size) {
    var path = droppedDemo;
    droppedDemo = '';
    return path ? writePath(path, pointer, size) : 0;
  }

  shared.onSetUp(setUp);

  return {
    runStarting: runStarting,
    levelFolder: levelFolder,
    runEnded: runEnded,
    takeDemo: takeDemo,
    demoDropped: function () { return droppedDemo ? 1 : 0; },
  };
})(VelkoPage.shared);
