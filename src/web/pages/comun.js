// What every page of Corvela shares: the session (its bar with the log-out, its security code
// for the requests that change anything), the requests to the service, the message boxes and
// questions as modal dialogs, and the operations whose messages, questions, progress and end
// arrive on the session's event stream. Every text that comes from the service is written into
// the page as text, never as HTML.

let csrf = '';

// An element with its attributes and children (texts become text nodes).
export function el(tag, attributes = {}, ...children) {
  const node = document.createElement(tag);
  for (const [name, value] of Object.entries(attributes)) {
    if (value === false || value === null || value === undefined) continue;
    node.setAttribute(name, value === true ? '' : value);
  }
  for (const child of children.flat()) {
    if (child === null || child === undefined) continue;
    node.append(child instanceof Node ? child : document.createTextNode(String(child)));
  }
  return node;
}

function to_log_in() {
  location.replace('ingreso.html');
  return new Promise(() => {});
}

// A request to the service: {status, data} (data: the JSON answer, else the text).
export async function request(method, path, body) {
  const options = { method, credentials: 'same-origin', headers: {} };
  if (method !== 'GET' && method !== 'HEAD') options.headers['X-CSRF-Token'] = csrf;
  if (body instanceof FormData) {
    options.body = body;
  } else if (body !== undefined) {
    options.headers['Content-Type'] = 'application/json';
    options.body = JSON.stringify(body);
  }
  let answer;
  try {
    answer = await fetch(path, options);
  } catch (e) {
    await show_box({ title: 'Corvela', text: 'No se pudo hablar con el servicio: ' + e.message });
    return { status: 0, data: null };
  }
  if (answer.status === 401 && path !== '/api/sesion') return to_log_in();
  const type = answer.headers.get('Content-Type') || '';
  const data = type.startsWith('application/json') ? await answer.json() : await answer.text();
  return { status: answer.status, data };
}

// The session of the page, or the log-in page when there is none; fills the bar of the page.
export async function session() {
  const { status, data } = await request('GET', '/api/sesion');
  if (status !== 200) return to_log_in();
  csrf = data.csrf;
  const who = document.getElementById('quien');
  if (who) who.textContent = data.usuario + ' · puesto ' + data.puesto;
  const out = document.getElementById('salir_sesion');
  if (out)
    out.addEventListener('click', async () => {
      await request('DELETE', '/api/sesion');
      to_log_in();
    });
  return data;
}

// ---- Message boxes and questions, one at a time, as the desktop program shows them.

let boxes = Promise.resolve();

// A box's text: its lines, where a run of lines holding tabs is a table whose first line gives
// the headings (the summary of a run).
function box_text(text) {
  const body = el('div', { class: 'texto' });
  const lines = String(text).split('\n');
  for (let i = 0; i < lines.length; ) {
    if (lines[i].includes('\t')) {
      const rows = [];
      while (i < lines.length && lines[i].includes('\t')) rows.push(lines[i++].split(/\t+/));
      const [head, ...rest] = rows;
      body.append(
        el('table', { class: 'tabla' },
          el('thead', {}, el('tr', {}, head.map((h) => el('th', { scope: 'col' }, h)))),
          el('tbody', {}, rest.map((r) => el('tr', {}, r.map((c) => el('td', {}, c)))))));
    } else {
      body.append(el('p', {}, lines[i] === '' ? '\u00a0' : lines[i]));
      ++i;
    }
  }
  return body;
}

// Shows one modal dialog; `buttons` are [caption, value], `chosen` the value of the one Enter
// presses first, `escape` the value Esc gives. Resolves with the value of the button pressed.
function dialog(title, text, hint, buttons, chosen, escape, input) {
  const run = () =>
    new Promise((resolve) => {
      const id = 'caja_' + Math.random().toString(36).slice(2);
      const box = el('dialog', { class: 'caja', 'aria-labelledby': id + '_t' });
      box.append(el('h2', { id: id + '_t' }, title || 'Corvela'), box_text(text));
      let field = null;
      if (input) {
        field = el('input', { type: 'text', id: id + '_e', 'aria-labelledby': id + '_t' });
        field.value = input.initial || '';
        box.append(field);
      }
      if (hint)
        box.append(el('details', {}, el('summary', {}, 'Mostrar los detalles...'), box_text(hint)));
      const row = el('div', { class: 'botones' });
      let answered = false;
      const finish = (value) => {
        if (answered) return;
        answered = true;
        box.close();
        box.remove();
        resolve(value === '\u0000entrada' ? field.value : value);
      };
      for (const [caption, value] of buttons) {
        const b = el('button', { type: 'button' }, caption);
        b.addEventListener('click', () => finish(value));
        if (value === chosen) b.classList.add('omision');
        row.append(b);
      }
      box.append(row);
      box.addEventListener('cancel', (e) => {
        e.preventDefault();
        finish(escape);
      });
      if (field)
        field.addEventListener('keydown', (e) => {
          if (e.key === 'Enter') {
            e.preventDefault();
            finish('\u0000entrada');
          }
        });
      document.body.append(box);
      box.showModal();
      (field || row.querySelector('.omision') || row.firstChild).focus();
    });
  const shown = boxes.then(run);
  boxes = shown.catch(() => {});
  return shown;
}

// A message box; resolves when it is closed (Aceptar, Enter or Esc).
export function show_box({ title, text, hint }) {
  return dialog(title, text, hint, [['Aceptar', true]], true, true);
}

// A question: Sí/No with its default button (Esc gives the default, the answer that keeps
// data), or an input box (Esc cancels: an empty text, as a cancelled box gives).
export function ask(question) {
  if (question.tipo === 'texto')
    return dialog(question.title, question.text, null,
      [['Aceptar', '\u0000entrada'], ['Cancelar', '']], '\u0000entrada', '',
      { initial: question.por_omision });
  return dialog(question.title, question.text, null, [['Sí', 'Sí'], ['No', 'No']],
    question.por_omision, question.por_omision);
}

// ---- Operations and the session's event stream.

const waiting = new Map();   // operation number -> resolve of its end
const ended = new Map();     // operation number -> its document, ended before anyone waited
let stream_open = null;
let handlers = {};
let events = Promise.resolve();

function in_order(work) {
  events = events.then(work).catch((e) => console.error(e));
}

async function answer(question) {
  const given = await ask(question);
  await request('POST', '/api/operacion/respuesta', { pregunta: question.pregunta, respuesta: given });
}

// Opens the session's event stream; `on` may hold progreso(data) and meses(data).
export function listen(on = {}) {
  handlers = on;
  const source = new EventSource('/api/eventos');
  stream_open = new Promise((resolve) => source.addEventListener('open', resolve, { once: true }));
  const parse = (e) => JSON.parse(e.data);
  source.addEventListener('progreso', (e) => handlers.progreso && handlers.progreso(parse(e)));
  source.addEventListener('meses', (e) => handlers.meses && handlers.meses(parse(e)));
  // A box already answered is the record of a question this page asked.
  source.addEventListener('mensaje', (e) => {
    const box = parse(e);
    if (!('answer' in box)) in_order(() => show_box(box));
  });
  source.addEventListener('pregunta', (e) => {
    const question = parse(e);
    in_order(() => answer(question));
  });
  source.addEventListener('fin', (e) => {
    const { operacion, resultado } = parse(e);
    in_order(() => {
      const resolve = waiting.get(operacion);
      if (resolve) {
        waiting.delete(operacion);
        resolve(resultado);
      } else {
        ended.set(operacion, resultado);
      }
    });
  });
  // A question left waiting by an earlier page of this session is asked again here.
  stream_open.then(async () => {
    const { status, data } = await request('GET', '/api/operacion');
    if (status === 200 && data.estado === 'pregunta') in_order(() => answer(data.pregunta));
  });
}

// Starts an operation and resolves with its document once its boxes have been shown; null when
// the service refused it (the refusal shown).
export async function operate(path, body = {}) {
  await stream_open;
  const { status, data } = await request('POST', path, body);
  if (status !== 202) {
    if (data && data.messages) for (const box of data.messages) await show_box(box);
    else await show_box({ title: 'Corvela', text: (data && data.error) || 'Solicitud no atendida.' });
    return null;
  }
  const id = data.operacion;
  if (ended.has(id)) {
    const document_ = ended.get(id);
    ended.delete(id);
    return document_;
  }
  return new Promise((resolve) => waiting.set(id, resolve));
}

// Shows a request's refusal, when it is one; true when it is.
export async function refused({ status, data }) {
  if (status >= 200 && status < 300) return false;
  if (data && data.messages && data.messages.length)
    for (const box of data.messages) await show_box(box);
  else await show_box({ title: 'Corvela', text: (data && data.error) || 'Solicitud no atendida (HTTP ' + status + ').' });
  return true;
}

// Fills a <select> with texts; keeps the one chosen before when it is still there.
export function fill_select(select, texts) {
  const before = select.value;
  select.replaceChildren(...texts.map((t) => el('option', { value: t }, t)));
  if (texts.includes(before)) select.value = before;
}

// Fills a table's head and body from columns and rows.
export function fill_table(table, columns, rows) {
  table.replaceChildren(
    el('thead', {}, el('tr', {}, columns.map((c) => el('th', { scope: 'col' }, c)))),
    el('tbody', {}, rows.map((r) => el('tr', {}, r.map((c) => el('td', {}, c === null ? '' : c))))));
}

// Esc on a page with no dialog open does what `button` does (Regresar, Cerrar).
export function escape_presses(button) {
  document.addEventListener('keydown', (e) => {
    if (e.key === 'Escape' && !document.querySelector('dialog[open]')) button.click();
  });
}

// The choice of a saved delivery, as the report and delete windows offer it: the IPS, then one of
// its deliveries. `lists` are the service's [{nombre, entregas}]; `changed` runs on every choice.
export function delivery_choice(section, changed = () => {}) {
  const ips = el('select', { id: 'Cmblista' });
  const delivery = el('select', { id: 'Cmbremision' });
  section.append(
    el('label', { for: 'Cmblista' }, 'Seleccione el Hospital:'), ips,
    el('label', { for: 'Cmbremision' },
      'Seleccione el número de remisión / número radicado del aplicativo :'), delivery);
  let lists = [];
  const show_deliveries = () => {
    const chosen = lists.find((i) => i.nombre === ips.value);
    fill_select(delivery, chosen ? chosen.entregas : []);
  };
  ips.addEventListener('change', () => { show_deliveries(); changed(); });
  delivery.addEventListener('change', changed);
  return {
    show(given) {
      lists = given || [];
      fill_select(ips, lists.map((i) => i.nombre));
      show_deliveries();
    },
    ips: () => ips.value,
    delivery: () => delivery.value,
  };
}
