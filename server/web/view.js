// What the page shows of each motor and of the presets, and what their
// controls send.

import { Hold, holdButton } from './hold.js';

// Towards 0, then towards the maximum, in the API's words.
const directions = { zoom: ['wide', 'tele'], focus: ['near', 'far'], iris: ['close', 'open'] };
// The window's hold keys, for aria-keyshortcuts.
const holdKeys = {
  zoom: ['Control+ArrowDown', 'Control+ArrowUp'],
  focus: ['Control+ArrowLeft', 'Control+ArrowRight'],
  iris: ['Control+PageDown', 'Control+PageUp'],
};
export const boardMotors = { tavro: ['zoom', 'focus', 'iris'], pellan: ['focus'] };
const presetCount = 10;

function element(tag, attributes = {}, children = []) {
  const node = document.createElement(tag);
  for (const [name, value] of Object.entries(attributes)) node.setAttribute(name, value);
  node.append(...children);
  return node;
}

// The position in the lens's units, when the server has a profile for it:
// as shown, and in words for a screen reader.
function lensUnits(motor, status, texts, language) {
  const number = (value, digits) =>
    new Intl.NumberFormat(language, { maximumFractionDigits: digits }).format(value);
  const shown = [];
  const spoken = [];
  const add = (text, words = text) => { shown.push(text); spoken.push(words); };
  if (motor === 'zoom' && typeof status.zoomMm === 'number') add(`${number(status.zoomMm, 1)} mm`);
  if (motor === 'zoom' && typeof status.hfovDeg === 'number') {
    const degrees = number(status.hfovDeg, 1);
    add(`${degrees}°`, texts.angle(degrees));
  }
  if (motor === 'focus' && status.focusM === 'inf') add('∞', texts.infinity);
  if (motor === 'focus' && typeof status.focusM === 'number') add(`${number(status.focusM, 2)} m`);
  if (motor === 'iris' && typeof status.irisF === 'number') add(`f/${number(status.irisF, 1)}`);
  return { shown: shown.join(' · '), spoken: spoken.join(', ') };
}

// A motor's position is announced once it has not changed for this long.
const restMs = 1000;

export class MotorPanel {
  // announce(text) tells a screen reader where the motor came to rest.
  constructor(motor, lens, texts, language, announce) {
    this.motor = motor;
    this.announce = announce;
    this.restTimer = 0;
    this.lens = lens;
    this.texts = texts;
    this.language = language;
    this.position = null;
    this.maximum = null;
    // While the bar is in hand, it shows where it is being taken, not the
    // live position.
    this.inHand = false;

    this.readout = element('span', { class: 'readout', id: `${motor}-readout` });
    this.units = element('p', { class: 'units' });
    this.bar = element('input', {
      type: 'range', min: '0', max: '1', step: '1', value: '0', class: 'bar',
      'aria-label': texts.position[motor],
    });
    this.bar.addEventListener('input', () => this.lens.goto(motor, Number(this.bar.value)));
    this.bar.addEventListener('pointerdown', () => { this.inHand = true; });
    this.bar.addEventListener('keydown', () => { this.inHand = true; });
    const putDown = () => { this.inHand = false; };
    for (const type of ['pointerup', 'pointercancel']) window.addEventListener(type, putDown);
    this.bar.addEventListener('keyup', putDown);
    this.bar.addEventListener('blur', putDown);

    this.runButtons = [0, 1].map((direction) => this.runButton(direction));
    this.stepButtons = [0, 1].map((direction) => {
      const button = element('button', { type: 'button', class: 'step', 'aria-label': texts.step[motor][direction] },
        [direction ? '+' : '−']);
      button.addEventListener('click', () => this.step(direction ? 1 : -1));
      return button;
    });
    this.stopButton = element('button', { type: 'button', class: 'stop', 'aria-label': texts.stop[motor] },
      [texts.stopShort]);
    this.stopButton.addEventListener('click', () => lens.post(`${motor}/stop`, {}, true));

    const controls = [this.bar];
    this.speed = null;
    if (motor !== 'iris') {
      this.speed = element('select', { 'aria-label': texts.speed[motor] },
        Object.entries(texts.levels).map(([value, name]) => element('option', { value }, [name])));
      // The board powers up at medium.
      this.speed.value = 'medium';
      controls.push(this.speed);
    }
    this.controls = [...controls, ...this.runButtons, ...this.stepButtons, this.stopButton];

    // The speed beside the lens units, so that a phone held upright shows
    // every motor and preset at once.
    const speed = this.speed ? element('label', { class: 'speed' }, [`${texts.speedShort} `, this.speed])
      : element('span');
    const head = element('div', { class: 'head' }, [
      element('h2', { id: `${motor}-title` }, [texts.motor[motor]]), this.readout, speed, this.units]);
    const buttons = element('div', { class: 'buttons' }, [
      this.runButtons[0], this.stepButtons[0], this.stopButton, this.stepButtons[1], this.runButtons[1]]);
    this.node = element('section', { class: 'motor', 'aria-labelledby': `${motor}-title` }, [head, this.bar, buttons]);
  }

  runButton(direction) {
    const { motor, texts } = this;
    const button = element('button', {
      type: 'button', class: 'run', 'aria-label': texts.run[motor][direction],
      'aria-keyshortcuts': holdKeys[motor][direction],
    }, [texts.runShort[motor][direction]]);
    holdButton(button, () => this.hold(direction));
    return button;
  }

  // The Hold of a run towards direction, at the speed chosen.
  hold(direction) {
    const body = { direction: directions[this.motor][direction] };
    if (this.speed) body.speed = this.speed.value;
    return new Hold(() => this.lens.post(`${this.motor}/run`, body),
      () => this.lens.post(`${this.motor}/stop`, {}, true));
  }

  // A hundredth of the range, as the window's + and −.
  step(sign) {
    if (this.position === null || this.maximum === null) return;
    const size = Math.max(1, Math.floor(this.maximum / 100));
    this.lens.goto(this.motor, Math.min(this.maximum, Math.max(0, this.position + sign * size)));
  }

  update(status) {
    this.position = status[this.motor] ?? null;
    this.maximum = status[`${this.motor}Max`] ?? null;
    const known = this.position !== null && this.maximum !== null;
    if (known) {
      this.bar.max = String(this.maximum);
      if (!this.inHand) this.bar.value = String(this.position);
    }
    const units = known ? lensUnits(this.motor, status, this.texts, this.language) : { shown: '', spoken: '' };
    this.readout.textContent = known ? `${this.position} ${this.texts.counts}` : '–';
    this.units.textContent = units.shown;
    const spoken = [this.readout.textContent, units.spoken].filter(Boolean).join(', ');
    const before = this.bar.getAttribute('aria-valuetext');
    if (known && before !== null && spoken !== before) {
      window.clearTimeout(this.restTimer);
      this.restTimer = window.setTimeout(() => this.announce(`${this.texts.motor[this.motor]}: ${spoken}`), restMs);
    }
    this.bar.setAttribute('aria-valuetext', spoken);
    this.node.classList.toggle('running', (status.running ?? []).includes(this.motor));
    this.known = known;
  }

  setEnabled(enabled) {
    for (const control of this.controls) control.disabled = !enabled;
    // Where the position or range is not known, there is nowhere to go.
    const placed = enabled && this.known;
    this.bar.disabled = !placed;
    for (const button of this.stepButtons) button.disabled = !placed;
  }
}

// Presets 1 to 10: a tap calls one; after "Store preset", a tap stores it,
// once confirmed.
export class PresetPanel {
  constructor(lens, texts, dialog) {
    this.lens = lens;
    this.texts = texts;
    this.dialog = dialog;
    this.storing = false;
    this.buttons = [];
    for (let preset = 1; preset <= presetCount; ++preset) {
      const button = element('button', { type: 'button', class: 'preset', 'aria-keyshortcuts': `F${preset}` },
        [String(preset)]);
      button.addEventListener('click', () => this.tap(preset));
      this.buttons.push(button);
    }
    this.storeButton = element('button', { type: 'button', class: 'store', 'aria-pressed': 'false',
      'aria-label': texts.storePreset }, [texts.storeShort]);
    this.storeButton.addEventListener('click', () => this.setStoring(!this.storing));
    this.node = element('section', { class: 'presets', 'aria-labelledby': 'presets-title' }, [
      element('div', { class: 'presets-head' }, [element('h2', { id: 'presets-title' }, [texts.presets]),
        this.storeButton]),
      element('div', { class: 'grid', role: 'group', 'aria-labelledby': 'presets-title' }, this.buttons)]);
    this.setStoring(false);
  }

  setStoring(storing) {
    this.storing = storing;
    this.storeButton.setAttribute('aria-pressed', String(storing));
    this.buttons.forEach((button, index) => button.setAttribute('aria-label',
      storing ? this.texts.setPreset(index + 1) : this.texts.callPreset(index + 1)));
  }

  tap(preset) {
    if (this.storing) this.store(preset);
    else this.lens.post(`presets/${preset}/call`);
  }

  // Asks first: a preset stored by mistake is lost.
  store(preset) {
    const { dialog } = this;
    dialog.querySelector('p').textContent = this.texts.storeQuestion(preset);
    dialog.returnValue = '';
    dialog.addEventListener('close', () => {
      if (dialog.returnValue === 'store') this.lens.post(`presets/${preset}/store`);
      this.setStoring(false);
    }, { once: true });
    dialog.showModal();
  }

  setEnabled(enabled) {
    for (const button of [...this.buttons, this.storeButton]) button.disabled = !enabled;
  }
}
