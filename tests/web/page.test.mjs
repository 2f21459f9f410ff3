// The control page in the machine's own headless Chromium, against
// tavro-lensd and the simulated Tavro board, whose --trace gives each frame
// it acts on with the time it came.
import assert from 'node:assert/strict';
import { spawn } from 'node:child_process';
import { once } from 'node:events';
import { existsSync, mkdtempSync, rmSync, writeFileSync } from 'node:fs';
import { createServer } from 'node:net';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { after, before, test } from 'node:test';
import { fileURLToPath } from 'node:url';
import { chromium } from 'playwright-core';

const bin = process.env.TAVRO_BIN ?? fileURLToPath(new URL('../../build/bin/', import.meta.url));
const chromiumPath = process.env.CHROMIUM ?? '/usr/bin/chromium';
const token = 'page-test-token';
const frames = { tele: 'ff000020000020', wide: 'ff000040000020', zoomStop: 'ff000000000020', setPreset3: 'ff000003000300' };
const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

const dir = mkdtempSync(join(tmpdir(), 'tavro-page-'));
const tokenFile = join(dir, 'token');
const trace = [];
let sim, server, port, browser, page, cdp, url;

async function freePort() {
  const probe = createServer().listen(0, '127.0.0.1');
  await once(probe, 'listening');
  const { port: free } = probe.address();
  probe.close();
  return free;
}

// Starts a program and waits for the line that says it is ready.
async function launch(program, args, ready, onLine = () => {}) {
  const child = spawn(join(bin, program), args, { stdio: ['ignore', 'pipe', 'pipe'] });
  let started;
  const isReady = new Promise((resolve) => { started = resolve; });
  for (const stream of [child.stdout, child.stderr]) {
    let rest = '';
    stream.on('data', (chunk) => {
      const lines = (rest + chunk).split('\n');
      rest = lines.pop();
      for (const line of lines) {
        onLine(line, Date.now());
        if (ready.test(line)) started();
      }
    });
  }
  await Promise.race([isReady, once(child, 'exit').then(() => assert.fail(`${program} ended at start`))]);
  return child;
}

async function startServer() {
  server = await launch('tavro-lensd', ['--board', 'tavro', '--port', join(dir, 'tty'), '--http',
    `127.0.0.1:${port}`, '--osc', `127.0.0.1:${await freePort()}`, '--token-file', tokenFile], /HTTP on/);
}

async function lensStatus() {
  const response = await fetch(`${url}/v1/status`, { headers: { Authorization: `Bearer ${token}` } });
  return response.json();
}

async function waitFor(check, what, timeoutMs = 5000) {
  for (const end = Date.now() + timeoutMs; Date.now() < end; await sleep(50)) {
    if (await check()) return;
  }
  assert.fail(`not within ${timeoutMs} ms: ${what}`);
}

// Until the zoom stands: no motor running and the same position for 400 ms,
// long enough for a move just asked for to have started.
async function zoomStands() {
  let last = null;
  let since = 0;
  await waitFor(async () => {
    const status = await lensStatus();
    if (status.running.length > 0 || status.zoom !== last) since = Date.now();
    last = status.zoom;
    return Date.now() - since >= 400;
  }, 'the zoom stands', 10000);
  return last;
}

const zoomTele = () => page.getByRole('button', { name: 'Zoom tele', exact: true });

before(async () => {
  assert.ok(existsSync(chromiumPath), `no Chromium at ${chromiumPath}: install Debian's chromium`);
  writeFileSync(tokenFile, `${token}\n`, { mode: 0o600 });
  sim = await launch('lens-board-sim', ['--board', 'tavro', '--link', join(dir, 'tty'), '--trace',
    // As slow to answer as a real board, so that a drag's gotos come faster than their answers.
    '--reaction-ms', '20'], /tty|\/dev\//,
    (line, at) => {
      const frame = /^lens-board-sim: ([0-9a-f]+):/.exec(line);
      if (frame) trace.push({ hex: frame[1], at });
    });
  port = await freePort();
  url = `http://127.0.0.1:${port}`;
  await startServer();
  browser = await chromium.launch({ executablePath: chromiumPath, args: ['--no-sandbox', '--disable-gpu',
    '--disable-background-networking'] });
  const context = await browser.newContext({ hasTouch: true, locale: 'en-GB', viewport: { width: 900, height: 900 } });
  page = await context.newPage();
  cdp = await context.newCDPSession(page);
  await page.goto(`${url}/?token=${token}`);
  await waitFor(() => zoomTele().isEnabled(), 'the page connected');
  // Every change of the zoom's readout, with its time.
  await page.evaluate(() => {
    const readout = document.getElementById('zoom-readout');
    window.readouts = [];
    new MutationObserver(() => window.readouts.push([readout.textContent, Date.now()]))
      .observe(readout, { childList: true, characterData: true, subtree: true });
  });
});

after(async () => {
  await browser?.close();
  server?.kill();
  sim?.kill();
  rmSync(dir, { recursive: true, force: true });
});

async function mouseDown(button) {
  const box = await button.boundingBox();
  await page.mouse.move(box.x + box.width / 2, box.y + box.height / 2);
  await page.mouse.down();
}

async function touchStart(button) {
  const box = await button.boundingBox();
  await cdp.send('Input.dispatchTouchEvent', { type: 'touchStart',
    touchPoints: [{ x: box.x + box.width / 2, y: box.y + box.height / 2 }] });
}

// The browser's own events: headless Chromium hides no page and leaves no
// window, so the page is told as a browser would tell it.
const hidePage = () => page.evaluate(() => {
  Object.defineProperty(document, 'visibilityState', { value: 'hidden', configurable: true });
  document.dispatchEvent(new Event('visibilitychange'));
});
const showPage = () => page.evaluate(() => { delete document.visibilityState; });

const holds = [
  { by: 'mouse', press: mouseDown, release: () => page.mouse.up() },
  { by: 'touch', press: touchStart,
    release: () => cdp.send('Input.dispatchTouchEvent', { type: 'touchEnd', touchPoints: [] }) },
  { by: 'a lost touch', press: touchStart,
    release: () => cdp.send('Input.dispatchTouchEvent', { type: 'touchCancel', touchPoints: [] }) },
  { by: 'the mouse leaving', press: mouseDown, release: () => page.mouse.move(5, 5), after: () => page.mouse.up() },
  { by: 'Ctrl+arrow', press: async (button, tele) => {
    await page.keyboard.down('Control');
    await page.keyboard.down(tele ? 'ArrowUp' : 'ArrowDown');
  }, release: async () => {
    await page.keyboard.up('ArrowUp');
    await page.keyboard.up('ArrowDown');
    await page.keyboard.up('Control');
  } },
  { by: 'the page hidden', press: mouseDown, release: hidePage, after: async () => {
    await showPage();
    await page.mouse.up();
  } },
  { by: 'the window left', press: mouseDown, release: () => page.evaluate(() => window.dispatchEvent(new Event('blur'))),
    after: () => page.mouse.up() },
];

for (const hold of holds) {
  test(`held, then let go by ${hold.by}: one run frame, the stop within 300 ms, live positions`, async () => {
    const status = await lensStatus();
    const tele = status.zoom < status.zoomMax / 2;
    const button = page.getByRole('button', { name: tele ? 'Zoom tele' : 'Zoom wide', exact: true });
    const pressed = Date.now();
    await hold.press(button, tele);
    await sleep(1000);
    const released = Date.now();
    await hold.release();
    await zoomStands();
    // Only now the pointer comes up, or the page back: the stop must not wait for it.
    await hold.after?.();

    const seen = trace.filter((frame) => frame.at >= pressed);
    const told = seen.filter((frame) => frame.hex.startsWith('ff'))
      .map((frame) => `${frame.hex} at ${frame.at - released} ms`).join(', ');
    assert.equal(seen.filter((frame) => frame.hex === (tele ? frames.tele : frames.wide)).length, 1, told);
    const stop = seen.find((frame) => frame.hex === frames.zoomStop);
    assert.ok(stop, 'a stop frame');
    assert.ok(stop.at >= released && stop.at - released <= 300, `the stop ${stop.at - released} ms after the release`);
    // Once moving, the readout changes five times a second or more.
    const readouts = await page.evaluate(() => window.readouts);
    const changes = readouts.filter(([text, at], i) => at > pressed && at <= released && readouts[i - 1]?.[0] !== text)
      .map(([, at]) => at);
    const perSecond = (changes.length - 1) / ((changes.at(-1) - changes[0]) / 1000);
    assert.ok(changes.length >= 4 && perSecond >= 5, `${changes.length} live positions, ${perSecond} a second`);
  });
}

test('a drag on the position bar takes the lens where the bar is let go', async () => {
  const start = await zoomStands();
  const { zoomMax } = await lensStatus();
  const bar = page.getByRole('slider', { name: 'Zoom position', exact: true });
  const box = await bar.boundingBox();
  const from = start / zoomMax;
  const to = from < 0.5 ? 0.8 : 0.2;
  const y = box.y + box.height / 2;
  await page.mouse.move(box.x + box.width * from, y);
  await page.mouse.down();
  // Halfway, then the rest before that goto is answered: the last waits its turn.
  await page.mouse.move(box.x + box.width * ((from + to) / 2), y);
  await page.mouse.move(box.x + box.width * to, y);
  await page.mouse.up();
  const end = await zoomStands();
  assert.ok(Math.abs(end - to * zoomMax) < zoomMax * 0.05, `the zoom at ${end} of ${zoomMax}, not near ${to}`);
});

test('a preset stored after its confirmation, then called with a tap', async () => {
  const stored = await zoomStands();
  await page.getByRole('button', { name: 'Store preset', exact: true }).click();
  await page.getByRole('button', { name: 'Set preset 3', exact: true }).click();
  await page.getByRole('dialog').getByRole('button', { name: 'Store', exact: true }).click();
  await waitFor(() => trace.some((frame) => frame.hex === frames.setPreset3), 'preset 3 stored');

  const { zoomMax } = await lensStatus();
  const away = Math.round(stored < zoomMax / 2 ? zoomMax * 0.9 : zoomMax * 0.1);
  await fetch(`${url}/v1/zoom/goto`, { method: 'POST', headers: { Authorization: `Bearer ${token}` },
    body: JSON.stringify({ position: away }) });
  assert.ok(Math.abs((await zoomStands()) - stored) > zoomMax / 4);
  await page.getByRole('button', { name: 'Call preset 3', exact: true }).click();
  assert.ok(Math.abs((await zoomStands()) - stored) <= 2);
});

// Each control named as the window names it, in the browser's language.
const names = {
  'en-GB': [['slider', 'Zoom position'], ['button', 'Zoom tele'], ['button', 'Stop the zoom'],
    ['button', 'Step the focus up'], ['combobox', 'Focus speed'], ['button', 'Iris open'],
    ['button', 'Call preset 10'], ['button', 'Store preset']],
  'de-DE': [['slider', 'Zoomposition'], ['button', 'Zoom Tele'], ['button', 'Zoom stoppen'],
    ['button', 'Fokus einen Schritt höher'], ['combobox', 'Fokusgeschwindigkeit'], ['button', 'Blende öffnen'],
    ['button', 'Voreinstellung 3 abrufen'], ['button', 'Voreinstellung setzen']],
};

for (const [locale, controls] of Object.entries(names)) {
  test(`the controls' names in ${locale}`, async () => {
    const context = await browser.newContext({ locale });
    const other = await context.newPage();
    // The token is the tab's: a new one must be given it.
    await other.goto(`${url}/?token=${token}`);
    for (const [role, name] of controls) {
      await other.getByRole(role, { name, exact: true }).waitFor({ timeout: 3000 });
    }
    await context.close();
  });
}

test('the connection lost and back, and the token kept for the tab', async () => {
  assert.equal(page.url(), `${url}/`, 'the token left in the address');
  server.kill('SIGKILL');
  await page.getByRole('alert').waitFor();
  assert.ok(await zoomTele().isDisabled());
  await startServer();
  await waitFor(async () => !(await page.getByRole('alert').isVisible()) && zoomTele().isEnabled(),
    'back by itself');
  await page.reload();
  await waitFor(() => zoomTele().isEnabled(), 'connected after a reload');

  // A tab never given the token says what it needs, and stays off.
  const stranger = await browser.newPage();
  await stranger.goto(url);
  await stranger.getByText('needs its token').waitFor();
  assert.ok(await stranger.getByRole('button', { name: 'Zoom tele', exact: true }).count() === 0);
  await stranger.close();
});
