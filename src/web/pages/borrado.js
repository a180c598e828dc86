// The delete page: an IPS and one of its saved deliveries, deleted after the window's question.
import {
  request, session, listen, operate, refused, fill_select, escape_presses, show_box,
} from './comun.js';

const $ = (id) => document.getElementById(id);
let lists = [];

function show_deliveries() {
  const ips = lists.find((i) => i.nombre === $('Cmblista').value);
  fill_select($('Cmbremision'), ips ? ips.entregas : []);
}

async function load() {
  const answer = await request('GET', '/api/borrado');
  if (await refused(answer)) return;
  lists = answer.data.ips || [];
  fill_select($('Cmblista'), lists.map((i) => i.nombre));
  show_deliveries();
}

async function remove() {
  $('CmdBorrar').disabled = true;
  const done = await operate('/api/borrado', { ips: $('Cmblista').value, entrega: $('Cmbremision').value });
  if (done && done.error) await show_box({ title: 'Corvela', text: done.error });
  $('CmdBorrar').disabled = false;
  await load();
}

await session();
listen();
$('Cmblista').addEventListener('change', show_deliveries);
$('CmdBorrar').addEventListener('click', remove);
escape_presses($('CmdSalir'));
await load();
