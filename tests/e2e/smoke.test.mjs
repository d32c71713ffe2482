// The request cycle in a real browser: start exchange, a click with an alert, a confirmation
// link cancelled and accepted, and the resync of an outdated page.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { startServer, openBrowser } from './harness.mjs';

let server;
let b;

before(async () => {
  server = await startServer({ binary: process.env.ZEZIZA_TEST_SERVER });
  b = await openBrowser();
});
after(async () => {
  await b?.close();
  await server?.stop();
});

test('smoke journey', async () => {
  const { page, dialogs } = b;
  await page.goto(server.url + '/');
  await page.waitForFunction(() => document.title === 'smoke');
  await b.settled();
  assert.equal(await page.textContent('#tracelabel'), 'ready:frame created');

  await page.fill('#textedit', '王五');
  await b.submitBy('#clickbutton');
  assert.equal(await page.textContent('#tracelabel'), 'clicked 1:王五');
  assert.deepEqual(dialogs.pop(), { type: 'alert', message: '你好 王五' });

  b.answerConfirm = false;
  await page.click('#confirmed');
  await page.waitForTimeout(300);
  assert.deepEqual(dialogs.pop(), { type: 'confirm', message: '您确定要删除这些学生及其成绩吗？' });
  assert.equal(await page.textContent('#tracelabel'), 'clicked 1:王五');

  b.answerConfirm = true;
  await b.submitBy('#confirmed');
  assert.equal(dialogs.pop().type, 'confirm');
  assert.equal(await page.textContent('#tracelabel'), 'confirmed');

  // Back to the older page: before anything can be typed, the current page is shown again.
  await page.goBack();
  await page.waitForFunction(() => document.querySelector('#tracelabel')?.textContent === 'confirmed');
  await b.settled();
  // A reload shows the current page too, without asking to send the form again.
  await page.reload();
  await page.waitForFunction(() => document.querySelector('#tracelabel')?.textContent === 'confirmed');
  await b.settled();
  assert.deepEqual(dialogs, []);
  await page.fill('#textedit', '赵六');
  await b.submitBy('#clickbutton');
  assert.equal(await page.textContent('#tracelabel'), 'clicked 2:赵六');
});
