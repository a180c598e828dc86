// The log-in page: a session for the account, then the main page.
import { request } from './comun.js';

const form = document.getElementById('ingreso');
const notice = document.getElementById('aviso');
// The button waits for this script, so that the form is never sent by the browser itself.
form.querySelector('button').disabled = false;

form.addEventListener('submit', async (e) => {
  e.preventDefault();
  notice.textContent = '';
  const { status, data } = await request('POST', '/api/sesion', {
    usuario: form.usuario.value,
    clave: form.clave.value,
  });
  if (status === 200) {
    location.replace('./');
    return;
  }
  notice.textContent = (data && data.error) || 'No se pudo ingresar.';
  form.clave.select();
});
