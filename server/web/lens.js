// The lens as tavro-lensd serves it: requests to its HTTP API and the live
// feed at /v1/live, both with the token this tab was given.

const tokenKey = 'tavro-lensd-token';
const reconnectMs = 1000;

// A token given as ?token= is kept for the tab's session (a reload finds it
// again) and taken out of the address, so that it is not bookmarked, shared
// or left in the history.
export function takeToken() {
  const url = new URL(window.location.href);
  const given = url.searchParams.get('token');
  if (given !== null) {
    window.sessionStorage.setItem(tokenKey, given);
    url.searchParams.delete('token');
    window.history.replaceState(window.history.state, '', url.pathname + url.search + url.hash);
  }
  return window.sessionStorage.getItem(tokenKey) ?? '';
}

// Events: 'status' (the status as now known, after the first message and
// every change), 'connection' (connected or not), 'problem' ({error, status}
// of a refused request or the board's error).
export class Lens extends EventTarget {
  constructor(token) {
    super();
    this.token = token;
    this.status = null;
    this.connected = false;
    this.gotos = new Map();
  }

  // Opens the live feed, and opens it again whenever it drops.
  connect() {
    const scheme = window.location.protocol === 'https:' ? 'wss' : 'ws';
    const query = this.token ? `?token=${encodeURIComponent(this.token)}` : '';
    const socket = new WebSocket(`${scheme}://${window.location.host}/v1/live${query}`);
    socket.addEventListener('message', (event) => this.take(JSON.parse(event.data)));
    socket.addEventListener('close', (event) => {
      // 1008: the server closed it for a missing or wrong token.
      if (event.code === 1008) this.emit('problem', { status: 401 });
      this.status = null;
      this.setConnected(false);
      window.setTimeout(() => this.connect(), reconnectMs);
    });
  }

  take(message) {
    if (message.error !== undefined && Object.keys(message).length === 1) {
      this.emit('problem', { error: message.error });
      return;
    }
    // The first message is the whole status, every later one what changed.
    this.status = { ...this.status, ...message };
    this.setConnected(true);
    this.emit('status', this.status);
  }

  setConnected(connected) {
    if (connected === this.connected) return;
    this.connected = connected;
    this.emit('connection', connected);
  }

  // POSTs to /v1/path; resolves to whether the server carried it out. A
  // stop is sent with keepalive, so that it leaves even as the page goes.
  async post(path, body, keepalive = false) {
    const headers = { 'Content-Type': 'application/json' };
    if (this.token) headers.Authorization = `Bearer ${this.token}`;
    try {
      const response = await fetch(`/v1/${path}`, {
        method: 'POST', headers, keepalive, cache: 'no-store', body: JSON.stringify(body ?? {}),
      });
      if (response.ok) return true;
      const answer = await response.json().catch(() => ({}));
      this.emit('problem', { status: response.status, error: answer.error });
    } catch {
      // The live feed tells of a lost connection.
    }
    return false;
  }

  // Sends motor to position; while one goto of the motor is on its way,
  // only the newest of those asked meanwhile follows it.
  goto(motor, position) {
    const pending = this.gotos.get(motor);
    if (pending) {
      pending.next = position;
      return;
    }
    const state = { next: position };
    this.gotos.set(motor, state);
    (async () => {
      while (state.next !== null) {
        const target = state.next;
        state.next = null;
        await this.post(`${motor}/goto`, { position: target });
      }
      this.gotos.delete(motor);
    })();
  }

  emit(type, detail) {
    this.dispatchEvent(new CustomEvent(type, { detail }));
  }
}
