// The window's keys on the page: Ctrl with an arrow or Page Up/Down runs a
// motor while held, F1 to F10 call a preset and Shift with them sets one,
// Ctrl+R refreshes. Each does what its button does, and only while that
// button is enabled. The browser's auto-repeat does nothing more: the hold
// repeats the run itself.

const holdKeys = {
  ArrowUp: ['zoom', 1], ArrowDown: ['zoom', 0],
  ArrowRight: ['focus', 1], ArrowLeft: ['focus', 0],
  PageUp: ['iris', 1], PageDown: ['iris', 0],
};

// panels: motor name to MotorPanel; presets: the PresetPanel.
export function listenToKeys(panels, presets, lens) {
  const held = new Map();
  const letGo = (key) => {
    held.get(key)?.release();
    held.delete(key);
  };
  document.addEventListener('keydown', (event) => {
    const modifiers = [event.ctrlKey, event.shiftKey, event.altKey, event.metaKey];
    const onlyCtrl = modifiers.join() === [true, false, false, false].join();
    const hold = holdKeys[event.key];
    if (hold && onlyCtrl) {
      event.preventDefault();
      const [motor, direction] = hold;
      const button = panels.get(motor)?.runButtons[direction];
      // A hold ended by the page losing focus may be started again.
      const current = held.get(event.key);
      if (!event.repeat && (!current || current.released) && button && !button.disabled) {
        held.set(event.key, panels.get(motor).hold(direction));
      }
      return;
    }
    if (event.key === 'r' && onlyCtrl) {
      event.preventDefault();
      if (!event.repeat && lens.connected) lens.post('refresh');
      return;
    }
    const preset = /^F([1-9]|10)$/.exec(event.key);
    if (preset && !event.ctrlKey && !event.altKey && !event.metaKey) {
      event.preventDefault();
      const button = presets.buttons[Number(preset[1]) - 1];
      if (event.repeat || button.disabled || presets.dialog.open) return;
      if (event.shiftKey) presets.store(Number(preset[1]));
      else lens.post(`presets/${preset[1]}/call`);
    }
  }, true);
  document.addEventListener('keyup', (event) => {
    if (event.key === 'Control') {
      for (const key of [...held.keys()]) letGo(key);
    } else {
      letGo(event.key);
    }
  }, true);
}
