// Hold-to-run: the run goes out at the press and again every 200 ms while
// held, well within the server's hold of 500 ms; every sign that the hold is
// over sends the stop at once. Should all of those be lost, the server stops
// the motor when the repeats stop coming.

const repeatMs = 200;
// How long a stop waits for a run still on its way to be answered.
const stopWaitMs = 100;
const holds = new Set();

export class Hold {
  // run() sends one run and resolves once it is answered; stop() sends the
  // stop and resolves once it is answered.
  constructor(run, stop) {
    this.run = run;
    this.stop = stop;
    this.released = false;
    this.stopSent = false;
    this.inFlight = null;
    this.send();
    this.timer = window.setInterval(() => this.send(), repeatMs);
    holds.add(this);
  }

  // One run on its way at a time: a repeat behind a slow answer adds nothing.
  send() {
    if (this.inFlight) return;
    this.inFlight = this.run().finally(() => {
      this.inFlight = null;
      // Answered only after the stop went: it may have reached the server
      // after the stop, and the newer word on the motor wins there.
      if (this.stopSent) this.stop();
    });
  }

  // Runs and the stop travel on connections of their own, and a run that
  // overtakes its stop would start the motor again: the stop follows the
  // answer of a run still on its way, unless that answer is slow.
  async release() {
    if (this.released) return;
    this.released = true;
    window.clearInterval(this.timer);
    holds.delete(this);
    if (this.inFlight) {
      await Promise.race([this.inFlight, new Promise((resolve) => window.setTimeout(resolve, stopWaitMs))]);
    }
    this.stopSent = true;
    await this.stop();
  }
}

export function releaseAll() {
  for (const hold of [...holds]) hold.release();
}

// The page hidden, the window left or the page going away ends every hold:
// the releases would go elsewhere.
export function releaseOnLeaving() {
  document.addEventListener('visibilitychange', () => {
    if (document.visibilityState === 'hidden') releaseAll();
  });
  window.addEventListener('blur', releaseAll);
  window.addEventListener('pagehide', releaseAll);
}

// Makes button a hold-to-run button: pressed by a pointer (mouse, pen or
// touch) or by Space or Enter while focused, start() gives the Hold.
export function holdButton(button, start) {
  let hold = null;
  const press = () => {
    hold?.release();
    hold = start();
  };
  const letGo = () => {
    hold?.release();
    hold = null;
  };
  button.addEventListener('pointerdown', (event) => {
    if (event.button !== 0 || button.disabled) return;
    event.preventDefault();
    press();
  });
  for (const type of ['pointerup', 'pointercancel', 'pointerleave', 'lostpointercapture']) {
    button.addEventListener(type, letGo);
  }
  button.addEventListener('keydown', (event) => {
    if ((event.key === ' ' || event.key === 'Enter') && !event.repeat && !button.disabled) {
      event.preventDefault();
      press();
    }
  });
  button.addEventListener('keyup', (event) => {
    if (event.key === ' ' || event.key === 'Enter') letGo();
  });
  button.addEventListener('blur', letGo);
  // A long touch must not open a menu or start a selection instead.
  button.addEventListener('contextmenu', (event) => event.preventDefault());
}
