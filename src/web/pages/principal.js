// The main page: the delivery uploaded (the files of a folder, or a ZIP) and its files, the
// header boxes of the desk's run, "Leer Archivos" with its progress, the summary, the months
// reported, "Guardar Registros", "Limpiar DB" and the run's files to download.
import {
  el, request, session, listen, operate, refused, fill_select, fill_table, show_box,
} from './comun.js';

const $ = (id) => document.getElementById(id);
const header_boxes = ['cod_ips', 'nombre_ips', 'remitente', 'direccion', 'telefono', 'fax',
  'remision', 'fecha_remision', 'periodo'];
const operable = ['carpeta', 'zip', 'entregas', 'borrar_entrega', 'BLeer', 'Cmdgraba', 'CmdLimpiar'];
let uploads = [];

function busy(on) {
  for (const id of operable) $(id).disabled = on;
  document.body.classList.toggle('ocupado', on);
}

function show_progress({ estado, valor, maximo }) {
  $('contenido').textContent = estado;
  const bar = $('ProgressBar1');
  bar.hidden = !(maximo > 0);
  bar.max = maximo > 0 ? maximo : 1;
  bar.value = Math.min(valor, bar.max);
}

function show_months(months) {
  const body = $('DBfechas').tBodies[0];
  body.replaceChildren(...months.map((m) => el('tr', {}, el('td', {}, m.month), el('td', {}, m.year))));
}

function show_files() {
  const chosen = uploads.find((u) => u.entrega === $('entregas').value);
  fill_select($('archivos'), chosen ? chosen.archivos : []);
}

async function load_uploads(newest) {
  const { status, data } = await request('GET', '/api/entregas');
  if (status !== 200) return;
  uploads = data;
  fill_select($('entregas'), uploads.map((u) => u.entrega));
  if (newest) $('entregas').value = newest;
  show_files();
}

async function load_run() {
  const answer = await request('GET', '/api/corrida');
  if (await refused(answer)) return;
  const { header, months } = answer.data;
  for (const id of header_boxes) $(id).value = header[id] || '';
  show_months(months);
}

async function load_results() {
  const { status, data } = await request('GET', '/api/resultados');
  if (status !== 200) return;
  $('resultados').replaceChildren(...data.map((f) =>
    el('li', {}, el('a', { href: '/api/resultados/' + encodeURIComponent(f.nombre), download: f.nombre }, f.nombre),
      ' (' + f.bytes.toLocaleString('es-CO') + ' bytes)')));
  $('todos').hidden = data.length === 0;
}

// The summary of a run: the totals, then each file of the control table, numbers under their
// headings as the summary box shows them.
function show_summary(document_) {
  const s = document_.summary;
  if (!s) return;
  fill_table($('resumen'), ['Leidos', 'Pasaron', 'Errados'], [[s.read, s.passed, s.failed]]);
  fill_table($('por_archivo'), ['Archivo', 'Leidos', 'Errados', 'Pasaron'],
    document_.files.map((f) => [f.code, f.read, f.failed, f.passed]));
}

async function upload(files) {
  if (!files.length) return;
  const form = new FormData();
  for (const f of files) form.append('archivos', f, f.name);
  busy(true);
  $('contenido').textContent = 'Subiendo la entrega…';
  const answer = await request('POST', '/api/entregas', form);
  $('contenido').textContent = '';
  busy(false);
  if (await refused(answer)) return;
  await load_uploads(answer.data.entrega);
}

// The files of a picked folder that a delivery holds: its own .txt files, as the file list
// shows them (a folder's other files and subfolders are left out).
function delivery_files(picked) {
  return [...picked].filter((f) => {
    const parts = (f.webkitRelativePath || f.name).split('/');
    return parts.length <= 2 && /\.txt$/i.test(f.name);
  });
}

async function read_files() {
  const entrega = $('entregas').value;
  if (!entrega) {
    await show_box({ title: 'Corvela', text: 'Suba primero una entrega (una carpeta o un ZIP).' });
    return;
  }
  busy(true);
  for (const id of ['resumen', 'por_archivo']) $(id).replaceChildren();
  const document_ = await operate('/api/validacion', { entrega });
  if (document_) {
    show_summary(document_);
    await Promise.all([load_run(), load_results()]);
  }
  show_progress({ estado: '', valor: 0, maximo: 0 });
  busy(false);
}

async function save() {
  const body = {};
  for (const id of ['remitente', 'direccion', 'telefono', 'fax', 'periodo']) body[id] = $(id).value;
  busy(true);
  if (await operate('/api/guardado', body)) await load_run();
  busy(false);
}

async function clean() {
  busy(true);
  await operate('/api/limpieza');
  await load_run();
  busy(false);
}

async function remove_upload() {
  const entrega = $('entregas').value;
  if (!entrega) return;
  const answer = await request('DELETE', '/api/entregas/' + encodeURIComponent(entrega));
  if (await refused(answer)) return;
  await load_uploads();
}

await session();
listen({ progreso: show_progress, meses: (m) => show_months(m.months) });
// Each pick is sent once; the same folder picked again is sent again.
for (const [id, files] of [['carpeta', delivery_files], ['zip', (picked) => [...picked]]])
  $(id).addEventListener('change', async (e) => {
    await upload(files(e.target.files));
    e.target.value = '';
  });
$('entregas').addEventListener('change', show_files);
$('borrar_entrega').addEventListener('click', remove_upload);
$('BLeer').addEventListener('click', read_files);
$('Cmdgraba').addEventListener('click', save);
$('CmdLimpiar').addEventListener('click', clean);
await Promise.all([load_uploads(), load_run(), load_results()]);
