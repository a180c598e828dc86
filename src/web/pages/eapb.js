// The EAPB registry page: the window of the paying entities kept by the service for this session.
// Each button sends the boxes and lists as the operator left them and shows the window after it;
// its messages, questions (the name confirmation among them) and input boxes come as dialogs.
import { session, listen, operate, fill_select } from './comun.js';

const $ = (id) => document.getElementById(id);
const boxes = ['codigo', 'nombre', 'responsable', 'direccion', 'fax', 'telefono'];
const lists = ['tipo', 'departamento', 'municipio'];
const buttons = [...document.querySelectorAll('[data-boton]')];

function show(window_) {
  for (const id of boxes) $(id).value = window_[id];
  for (const id of lists) {
    const select = $(id);
    const { opciones, elegido } = window_[id];
    select.replaceChildren();
    fill_select(select, opciones);
    // Options by position: two entries may share a text.
    select.selectedIndex = elegido;
  }
}

function edits() {
  const body = {};
  for (const id of boxes) body[id] = $(id).value;
  for (const id of lists) body[id] = $(id).selectedIndex;
  return body;
}

async function press(action) {
  for (const b of buttons) b.disabled = true;
  const body = action === 'abrir' ? {} : edits();
  // Renewing shows the municipalities of the department chosen, none of them chosen yet.
  if (action === 'renovar') delete body.municipio;
  const document_ = await operate('/api/eapb/' + action, body);
  for (const b of buttons) b.disabled = false;
  if (!document_) return;
  if (document_.registro) show(document_.registro);
  if (action === 'cerrar') location.assign('./');
}

await session();
listen();
for (const b of buttons) b.addEventListener('click', () => press(b.dataset.boton));
// A department chosen brings its municipalities.
$('departamento').addEventListener('change', () => press('renovar'));
document.addEventListener('keydown', (e) => {
  if (e.key === 'Escape' && !document.querySelector('dialog[open]')) $('cmdCerrar').click();
});
await press('abrir');
