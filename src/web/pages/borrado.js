// The delete page: an IPS and one of its saved deliveries, deleted after the window's question.
import { request, session, listen, operate, refused, delivery_choice, escape_presses, show_box } from './comun.js';

const $ = (id) => document.getElementById(id);
const choice = delivery_choice($('eleccion'));

async function load() {
  const answer = await request('GET', '/api/borrado');
  if (!(await refused(answer))) choice.show(answer.data.ips);
}

async function remove() {
  $('CmdBorrar').disabled = true;
  const done = await operate('/api/borrado', { ips: choice.ips(), entrega: choice.delivery() });
  if (done && done.error) await show_box({ title: 'Corvela', text: done.error });
  await load();
  $('CmdBorrar').disabled = false;
}

await session();
listen();
$('CmdBorrar').addEventListener('click', remove);
escape_presses($('CmdSalir'));
await load();
