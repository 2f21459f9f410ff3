// The page's texts in English and German, worded as the window's: a control
// is named here as the window names the same control.

const english = {
  title: 'Tavro lens',
  motor: { zoom: 'Zoom', focus: 'Focus', iris: 'Iris' },
  position: { zoom: 'Zoom position', focus: 'Focus position', iris: 'Iris position' },
  // Towards 0, then towards the maximum.
  run: { zoom: ['Zoom wide', 'Zoom tele'], focus: ['Focus near', 'Focus far'], iris: ['Iris close', 'Iris open'] },
  runShort: { zoom: ['Wide', 'Tele'], focus: ['Near', 'Far'], iris: ['Close', 'Open'] },
  stop: { zoom: 'Stop the zoom', focus: 'Stop the focus', iris: 'Stop the iris' },
  stopShort: 'STOP',
  step: {
    zoom: ['Step the zoom down', 'Step the zoom up'],
    focus: ['Step the focus down', 'Step the focus up'],
    iris: ['Step the iris down', 'Step the iris up'],
  },
  speed: { zoom: 'Zoom speed', focus: 'Focus speed' },
  speedShort: 'Speed',
  levels: { low: 'Low', medium: 'Medium', high: 'High' },
  presets: 'Presets',
  callPreset: (n) => `Call preset ${n}`,
  setPreset: (n) => `Set preset ${n}`,
  storePreset: 'Store preset',
  storeShort: 'Store',
  storeQuestion: (n) => `Store where the lens is now as preset ${n}?`,
  cancel: 'Cancel',
  running: (names) => `Running: ${names}`,
  nothingRunning: 'No motor running',
  connecting: 'Connecting…',
  connected: (board, port) => `Connected: ${board} board on ${port}`,
  lost: 'The connection to the server is lost. Reconnecting…',
  needsToken: 'This server needs its token: open the page once as /?token=…',
  counts: 'counts',
  angle: (degrees) => `Horizontal angle of view ${degrees} degrees`,
  infinity: 'infinity',
};

const german = {
  title: 'Tavro-Objektiv',
  motor: { zoom: 'Zoom', focus: 'Fokus', iris: 'Blende' },
  position: { zoom: 'Zoomposition', focus: 'Fokusposition', iris: 'Blendenposition' },
  run: { zoom: ['Zoom Weit', 'Zoom Tele'], focus: ['Fokus nah', 'Fokus fern'], iris: ['Blende schließen', 'Blende öffnen'] },
  runShort: { zoom: ['Weit', 'Tele'], focus: ['Nah', 'Fern'], iris: ['Zu', 'Auf'] },
  stop: { zoom: 'Zoom stoppen', focus: 'Fokus stoppen', iris: 'Blende stoppen' },
  stopShort: 'STOPP',
  step: {
    zoom: ['Zoom einen Schritt tiefer', 'Zoom einen Schritt höher'],
    focus: ['Fokus einen Schritt tiefer', 'Fokus einen Schritt höher'],
    iris: ['Blende einen Schritt tiefer', 'Blende einen Schritt höher'],
  },
  speed: { zoom: 'Zoomgeschwindigkeit', focus: 'Fokusgeschwindigkeit' },
  speedShort: 'Geschw.',
  levels: { low: 'Langsam', medium: 'Mittel', high: 'Schnell' },
  presets: 'Voreinstellungen',
  callPreset: (n) => `Voreinstellung ${n} abrufen`,
  setPreset: (n) => `Voreinstellung ${n} setzen`,
  storePreset: 'Voreinstellung setzen',
  storeShort: 'Setzen',
  storeQuestion: (n) => `Die jetzige Stellung des Objektivs als Voreinstellung ${n} speichern?`,
  cancel: 'Abbrechen',
  running: (names) => `In Bewegung: ${names}`,
  nothingRunning: 'Kein Motor in Bewegung',
  connecting: 'Verbindung wird aufgebaut…',
  connected: (board, port) => `Verbunden: Board ${board} an ${port}`,
  lost: 'Die Verbindung zum Server ist unterbrochen. Neuer Versuch läuft…',
  needsToken: 'Dieser Server braucht sein Token: die Seite einmal als /?token=… öffnen',
  counts: 'Schritte',
  angle: (degrees) => `Horizontaler Bildwinkel ${degrees} Grad`,
  infinity: 'unendlich',
};

// The first of the browser's languages the page has, else English.
export function pickLanguage(languages) {
  for (const tag of languages) {
    const language = tag.toLowerCase().split('-')[0];
    if (language === 'de' || language === 'en') return language;
  }
  return 'en';
}

export function textsFor(language) {
  return language === 'de' ? german : english;
}
