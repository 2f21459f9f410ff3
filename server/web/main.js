// The control page: puts the lens, the panels and the keys together.

import { releaseAll, releaseOnLeaving } from './hold.js';
import { listenToKeys } from './keys.js';
import { Lens, takeToken } from './lens.js';
import { pickLanguage, textsFor } from './texts.js';
import { MotorPanel, PresetPanel, boardMotors } from './view.js';

const language = pickLanguage(navigator.languages ?? [navigator.language]);
const texts = textsFor(language);
document.documentElement.lang = language;
document.title = texts.title;
document.getElementById('title').textContent = texts.title;

const lens = new Lens(takeToken());
const connection = document.getElementById('connection');
const banner = document.getElementById('banner');
const running = document.getElementById('running');
const message = document.getElementById('message');
const positions = document.getElementById('positions');
// Said once a motor has come to rest, not at every reading on its way.
const announce = (text) => { positions.textContent = text; };
const dialog = document.getElementById('confirm');
dialog.querySelector('[value=store]').textContent = texts.storeShort;
dialog.querySelector('[value=cancel]').textContent = texts.cancel;

const presets = new PresetPanel(lens, texts, dialog);
document.getElementById('presets').replaceWith(presets.node);
const motors = document.getElementById('motors');
// Made once the board is known: the board's motors only.
const panels = new Map();
let board = null;

// Live regions are told only what is new.
function setText(node, text) {
  if (node.textContent !== text) node.textContent = text;
}

function showBoard(status) {
  if (status.board === board) return;
  board = status.board;
  panels.clear();
  for (const motor of boardMotors[board] ?? []) panels.set(motor, new MotorPanel(motor, lens, texts, language, announce));
  motors.replaceChildren(...[...panels.values()].map((panel) => panel.node));
}

function setEnabled() {
  for (const panel of panels.values()) panel.setEnabled(lens.connected);
  presets.setEnabled(lens.connected);
}

lens.addEventListener('status', ({ detail: status }) => {
  showBoard(status);
  for (const panel of panels.values()) panel.update(status);
  setEnabled();
  setText(connection, texts.connected(status.board, status.port));
  const names = (status.running ?? []).map((motor) => texts.motor[motor] ?? motor);
  const text = names.length ? texts.running(names.join(', ')) : texts.nothingRunning;
  setText(running, text);
});

lens.addEventListener('connection', ({ detail: connected }) => {
  banner.hidden = connected;
  banner.textContent = connected ? '' : texts.lost;
  document.body.classList.toggle('offline', !connected);
  if (!connected) {
    // Nothing held can be stopped from here now: the server's hold stops it.
    releaseAll();
    if (dialog.open) dialog.close();
    connection.textContent = texts.connecting;
  } else {
    message.textContent = '';
  }
  setEnabled();
});

lens.addEventListener('problem', ({ detail }) => {
  message.textContent = detail.status === 401 ? texts.needsToken : detail.error ?? '';
});

releaseOnLeaving();
listenToKeys(panels, presets, lens);
connection.textContent = texts.connecting;
setEnabled();
lens.connect();
